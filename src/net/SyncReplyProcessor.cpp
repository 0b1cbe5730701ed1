#include "net/SyncReplyProcessor.h"

#include "core/JsonParams.h"
#include "core/NameValueEditor.h"
#include "core/Trace.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <vector>

namespace kovan {

SyncReplyProcessor::SyncReplyProcessor(SessionState& session, SharedSyncTables& tables,
                                       NewsList& topInfoList)
    : m_session(session), m_tables(tables), m_topInfoList(topInfoList) {}

qint64 SyncReplyProcessor::localNowSecs() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toSecsSinceEpoch() + now.offsetFromUtc();
}

SyncReplyProcessor::Outcome SyncReplyProcessor::process(const QString& replyText,
                                                        const Hooks& hooks, qint64 nowLocalSecs) {
    if (replyText.isEmpty())
        return Outcome::Empty;
    return processUtf8(replyText.toUtf8(), hooks, nowLocalSecs);
}

SyncReplyProcessor::Outcome SyncReplyProcessor::processUtf8(const QByteArray& replyUtf8,
                                                            const Hooks& hooks,
                                                            qint64 nowLocalSecs) {
    if (replyUtf8.isEmpty())
        return Outcome::Empty;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(replyUtf8, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return Outcome::Unusable;
    return processObject(doc.object(), hooks, nowLocalSecs);
}

SyncReplyProcessor::Outcome SyncReplyProcessor::processObject(const QJsonObject& reply,
                                                              const Hooks& hooks,
                                                              qint64 nowLocalSecs) {
    if (jsonInt(reply, u"status") != 1)
        return Outcome::StatusNotOne;
    const QJsonValue symbolinfo = reply.value(u"symbolinfo");
    if (!symbolinfo.isObject())
        return Outcome::Unusable;

    // Symbols, session id and stamps: each under its lock, the hooks outside them.
    const QString replySessid = jsonText(reply, u"sessid");
    // An id no address can carry (a line break, past 1,024 characters) would stop every
    // request: keep the one we have.
    const bool unusable = !replySessid.isEmpty() && !isUsableSessid(replySessid);
    if (unusable)
        trace(QStringLiteral("sync: unusable session id in the reply ignored"));
    ContentSectionSet changed;
    m_tables.with([&](SyncTables& t) { applySymbols(t, symbolinfo.toObject()); });
    const bool sessidChanged =
        !unusable && m_session.replaceSessidIf(replySessid, [this](const QString& current) {
            return !m_requestSessidKnown || current == m_requestSessid;
        });
    if (sessidChanged && hooks.forceReloadAll)
        hooks.forceReloadAll();
    m_tables.with([&](SyncTables& t) { changed = applyStamps(t.syncState, reply); });
    if (!changed.isEmpty() && hooks.checkRefresh)
        hooks.checkRefresh(changed);

    if (jsonInt(reply, u"ratecount") > 0) {
        const QJsonValue rate = reply.value(u"rate");
        if (!rate.isArray())
            return Outcome::Unusable;
        const QJsonArray rates = rate.toArray();
        std::vector<RateQuote> seen;
        QJsonObject symbols; // shares the table's data: a copy without a copy
        m_tables.with([&](SyncTables& t) {
            applyRates(t.quoteTable, rates, hooks.quotesApplied ? &seen : nullptr);
            if (hooks.quotesApplied)
                symbols = t.symbolInfo;
        });
        if (hooks.quotesApplied)
            hooks.quotesApplied(seen, symbols);
    }

    if (hooks.ensureTicker)
        hooks.ensureTicker();

    if (jsonInt(reply, u"rdntcount") > 0) {
        const QJsonValue rdnt = reply.value(u"rdnt");
        if (!rdnt.isArray())
            return Outcome::Unusable;
        const QJsonArray items = rdnt.toArray();
        m_topInfoList.with(
            [&](QList<topInfoRuntimeRecord>& list) { applyNews(list, items, nowLocalSecs); });
    }
    return Outcome::Processed;
}

bool SyncReplyProcessor::applySymbols(SyncTables& t, const QJsonObject& symbolinfo) {
    // Qt keeps members in ascending name order, so two objects that differ only in the member
    // order of their source texts are equal here, exactly as their compact serialisations are.
    if (t.symbolInfo == symbolinfo)
        return false;
    t.symbolInfo = symbolinfo;
    t.quoteTable.clear();
    t.symbolCodes.clear();
    t.symbolCodes.reserve(symbolinfo.size());
    // Codes may still collide as names (letter case, "=" in a code), so every line goes
    // through the quote table's rules, hashed: a reply with thousands of symbols stays linear.
    NameValueEditor quotes(t.quoteTable);
    QString key;
    for (auto it = symbolinfo.constBegin(); it != symbolinfo.constEnd(); ++it) {
        const QString code = it.key();
        t.symbolCodes.append(code);
        key.resize(0);
        key.append(code).append(u"_showname");
        quotes.setValue(key, jsonText(it.value().toObject(), u"showname"));
        key.resize(0);
        key.append(code).append(u"_CG");
        quotes.setValue(key, u"0");
    }
    return true;
}

ContentSectionSet SyncReplyProcessor::applyStamps(QJsonObject& syncState,
                                                  const QJsonObject& reply) {
    struct Names {
        ContentSection id;
        QString stamp, flag;
    };
    static const auto names = [] {
        std::vector<Names> out;
        for (const ContentSectionInfo& s : contentSections())
            out.push_back(
                {s.id, QString::fromLatin1(s.stampName), QString::fromLatin1(s.changeFlag)});
        return out;
    }();
    ContentSectionSet moved;
    for (const auto& [id, stamp, flag] : names) {
        const qint64 stored = jsonInt(syncState, stamp);
        const qint64 sent = jsonInt(reply, stamp);
        if (stored < sent) {
            syncState.insert(stamp, sent);
            syncState.insert(flag, 1);
            moved.insert(id);
        } else {
            syncState.insert(flag, 0);
        }
    }
    return moved;
}

void SyncReplyProcessor::applyRates(NameValueList& quoteTable, const QJsonArray& rates,
                                    std::vector<RateQuote>* seen) {
    NameValueEditor lines(quoteTable);
    QString key;
    if (seen)
        seen->reserve(size_t(rates.size()));
    for (const QJsonValue& element : rates) {
        const QJsonObject rate = element.toObject();
        RateQuote read{jsonText(rate, u"S"), jsonText(rate, u"B")};
        // Kept where `seen` asks for it, without a copy (its room was reserved above).
        const RateQuote& r = seen ? seen->emplace_back(std::move(read)) : read;
        const QString& code = r.code;
        const QString& bid = r.bid;
        key.resize(0);
        key.append(code).append(u"_BID");
        const QStringView old = lines.value(key);
        if (old == bid)
            continue;
        // Textual, by UTF-16 code units: "99.99" is above "100.01".
        const bool down = old.compare(bid, Qt::CaseSensitive) > 0;
        // `old` points into the bid line: not used past this point.
        const qsizetype bidKeySize = key.size();
        key.append(code).append(u"_CG");
        lines.setValue(QStringView(key).mid(bidKeySize), down ? u"-1" : u"1");
        lines.setValue(QStringView(key).left(bidKeySize), bid);
    }
}

void SyncReplyProcessor::applyNews(QList<topInfoRuntimeRecord>& list, const QJsonArray& items,
                                   qint64 nowLocalSecs) {
    const QString rdnt = QStringLiteral("rdnt");
    // The ids of the "rdnt" entries held, so that each item is one look-up, not a pass over
    // the list.
    QSet<qint32> held;
    for (const topInfoRuntimeRecord& r : std::as_const(list))
        if (r.evType == rdnt)
            held.insert(r.evID);
    for (const QJsonValue& element : items) {
        const QJsonObject item = element.toObject();
        const auto id = qint32(jsonInt(item, u"id"));
        if (held.contains(id))
            continue;
        held.insert(id);
        topInfoRuntimeRecord r;
        r.evID = id;
        r.evType = rdnt;
        r.impant = qint32(jsonInt(item, u"impant"));
        r.title = jsonText(item, u"title");
        r.expired = qint32(nowLocalSecs + 3600);
        list.append(std::move(r));
    }
}

} // namespace kovan
