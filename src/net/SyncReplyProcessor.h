#pragma once

#include "core/ContentSections.h"
#include "core/NameValueList.h"
#include "core/NewsList.h"
#include "core/SessionState.h"
#include "core/SyncTables.h"
#include "net/SyncDelegates.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace kovan {

// Turns one sync reply into the program-wide tables: symbols, session id, section stamps,
// bids and news items, in that order. Runs on the sync worker's thread (tests, the fuzzer and
// the benchmark call it directly).
//
// Every change is made under the lock of what it touches (the session id, SyncTables as a
// whole, or the news list), and a lock is never held while a hook runs: the hooks hand work to the
// GUI thread and wait for it, and the GUI thread takes the same locks.
class SyncReplyProcessor {
public:
    enum class Outcome {
        Processed,    // a reply with status 1 went through every step
        Empty,        // empty text: nothing processed
        StatusNotOne, // a well-formed reply whose status is not 1: nothing processed
        Unusable,     // not a JSON object, no symbolinfo, or rate/rdnt missing although
                      // announced: the worker ends as after a failed request (the steps
                      // before the fault have taken effect)
    };

    struct Hooks {
        std::function<void()> forceReloadAll; // after sessid changed; returns once it has run
        // After stamps moved on: the sections whose stamp did; returns once it has run.
        std::function<void(ContentSectionSet changed)> checkRefresh;
        std::function<void()> ensureTicker; // starts the rates ticker when none exists
        // After the bids of a reply went into the quote table: the reply's rates and the
        // symbol table as it is now, with no lock held (price alerts are checked here).
        std::function<void(const std::vector<RateQuote>& rates, const QJsonObject& symbolInfo)>
            quotesApplied;
    };

    SyncReplyProcessor(SessionState& session, SharedSyncTables& tables, NewsList& topInfoList);

    // The session id the sync request carried. Once set, the reply's session id is taken only
    // while that id is still the current one: a login or logout that changed the session while
    // the request was out must not be undone by the reply to the old session (the next poll
    // carries the new id). Without it every reply's session id is taken.
    void setRequestSessid(const QString& sent) {
        m_requestSessid = sent;
        m_requestSessidKnown = true;
    }

    // `nowLocalSecs`: local wall-clock seconds since 1970-01-01 00:00, the base of news expiry.
    Outcome process(const QString& replyText, const Hooks& hooks, qint64 nowLocalSecs);
    Outcome processUtf8(const QByteArray& replyUtf8, const Hooks& hooks, qint64 nowLocalSecs);

    // The individual steps, public for tests.
    // Symbols: true when `symbolinfo` differed and the tables were rebuilt.
    static bool applySymbols(SyncTables& t, const QJsonObject& symbolinfo);
    // Stamps: the sections whose stamp moved forward (their change flags set to 1, the others'
    // to 0).
    static ContentSectionSet applyStamps(QJsonObject& syncState, const QJsonObject& reply);
    // Bids: the same result as NameValueList::setValue for each change, without its linear
    // look-ups (NameValueEditor). `seen`, when given, receives every element's code and bid
    // in order.
    static void applyRates(NameValueList& quoteTable, const QJsonArray& rates,
                           std::vector<RateQuote>* seen = nullptr);
    // News: appends each item whose id is not yet held as an "rdnt" entry.
    static void applyNews(QList<topInfoRuntimeRecord>& list, const QJsonArray& items,
                          qint64 nowLocalSecs);

    // Local wall-clock seconds since 1970-01-01 00:00 right now.
    static qint64 localNowSecs();

private:
    Outcome processObject(const QJsonObject& reply, const Hooks& hooks, qint64 nowLocalSecs);

    SessionState& m_session;
    SharedSyncTables& m_tables;
    NewsList& m_topInfoList;
    QString m_requestSessid;
    bool m_requestSessidKnown = false;
};

} // namespace kovan
