#pragma once

// Feeds arbitrary bytes as sync replies through SyncReplyProcessor and checks that the tables
// stay consistent. Shared by the libFuzzer target and a regular test that replays seeds.

#include "core/JsonParams.h"
#include "net/SyncReplyProcessor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <string>

namespace kovan::test {

// The bids of `rates` applied with the plain quote table rules.
inline void referenceRates(NameValueList& table, const QJsonArray& rates) {
    for (const QJsonValue& v : rates) {
        const QJsonObject o = v.toObject();
        const QString s = jsonText(o, u"S");
        const QString b = jsonText(o, u"B");
        const QString old = table.value(QString(s + QStringLiteral("_BID")));
        if (old == b)
            continue;
        table.setValue(QString(s + QStringLiteral("_CG")),
                       old > b ? QStringLiteral("-1") : QStringLiteral("1"));
        table.setValue(QString(s + QStringLiteral("_BID")), b);
    }
}

// The quote table a changed `symbolinfo` makes, built with the plain quote table rules.
inline NameValueList referenceSymbols(const QJsonObject& symbolinfo) {
    NameValueList table;
    for (auto it = symbolinfo.constBegin(); it != symbolinfo.constEnd(); ++it) {
        table.setValue(QString(it.key() + QStringLiteral("_showname")),
                       jsonText(it.value().toObject(), u"showname"));
        table.setValue(QString(it.key() + QStringLiteral("_CG")), QStringLiteral("0"));
    }
    return table;
}

// Runs one reply and returns "" when every invariant holds, else what broke.
inline std::string checkOneReply(SessionState& session, SharedSyncTables& tables, NewsList& news,
                                 const QByteArray& input) {
    SyncReplyProcessor processor(session, tables, news);
    int refreshes = 0;
    ContentSectionSet changed;
    SyncReplyProcessor::Hooks hooks;
    hooks.checkRefresh = [&](ContentSectionSet c) {
        ++refreshes;
        changed = c;
    };
    const SyncTables before = tables.snapshot();
    const QString sessidBefore = session.sessid();
    const QList<topInfoRuntimeRecord> newsBefore = news.snapshot();
    const auto outcome = processor.processUtf8(input, hooks, 1000);
    const SyncTables after = tables.snapshot();
    const QList<topInfoRuntimeRecord> newsAfter = news.snapshot();

    // Codes are exactly the member names of symbolInfo, ascending.
    if (after.symbolCodes != after.symbolInfo.keys())
        return "symbolCodes differ from the members of symbolInfo";
    // Every quote line is name=value with a value.
    for (const QString& line : after.quoteTable.lines()) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || eq + 1 >= line.size())
            return "quote line without a value: " + line.toStdString();
    }
    // Stamps never go back; a flag is 1 exactly when its stamp moved.
    if (after.syncState.size() != 2 * kContentSectionCount)
        return "syncState lost or gained members";
    const QJsonObject reply = QJsonDocument::fromJson(input).object();
    const bool stampsRan = jsonInt(reply, u"status") == 1 && reply.value(u"symbolinfo").isObject();
    if (!stampsRan && after.syncState != before.syncState)
        return "syncState changed by a reply that was not taken up";
    bool anyFlag = false;
    for (const ContentSectionInfo& s : contentSections()) {
        const qint64 b = jsonInt(before.syncState, QString::fromLatin1(s.stampName));
        const qint64 a = jsonInt(after.syncState, QString::fromLatin1(s.stampName));
        const qint64 flag = jsonInt(after.syncState, QString::fromLatin1(s.changeFlag));
        if (a < b)
            return std::string("stamp went back: ") + s.stampName;
        if (flag != 0 && flag != 1)
            return "flag out of range";
        if (stampsRan && (a > b) != (flag == 1))
            return std::string("flag does not match its stamp: ") + s.changeFlag;
        if (stampsRan && (a > b) != changed.contains(s.id))
            return std::string("the refresh was not told of ") + s.pageKey;
        anyFlag = anyFlag || a > b;
    }
    if ((refreshes == 1) != anyFlag || refreshes > 1)
        return "checkRefresh ran " + std::to_string(refreshes) + " times";
    // Nothing changes unless the reply was taken up.
    using Outcome = SyncReplyProcessor::Outcome;
    const bool untouched = outcome == Outcome::Empty || outcome == Outcome::StatusNotOne;
    if (untouched && (after.quoteTable != before.quoteTable ||
                      after.syncState != before.syncState || session.sessid() != sessidBefore ||
                      after.symbolInfo != before.symbolInfo || newsAfter != newsBefore))
        return "an ignored reply changed the tables";
    // News only grow, and never hold one rdnt id twice.
    if (newsAfter.size() < newsBefore.size() || newsAfter.mid(0, newsBefore.size()) != newsBefore)
        return "news items lost or changed";
    QSet<qint32> ids;
    for (const topInfoRuntimeRecord& r : newsAfter) {
        if (r.evType == u"rdnt" && ids.contains(r.evID))
            return "rdnt item held twice";
        ids.insert(r.evID);
    }
    // The symbols and bids agree with the plain quote table rules.
    if (stampsRan) {
        const QJsonObject info = reply.value(u"symbolinfo").toObject();
        NameValueList expected =
            info == before.symbolInfo ? before.quoteTable : referenceSymbols(info);
        if (jsonInt(reply, u"ratecount") > 0 && reply.value(u"rate").isArray())
            referenceRates(expected, reply.value(u"rate").toArray());
        if (expected != after.quoteTable)
            return "quote table differs from the plain quote table rules";
    }
    return {};
}

// The state every input starts from: a few symbols, bids and one news item.
inline void seedState(SessionState& session, SharedSyncTables& tables, NewsList& news) {
    session.setSessid(QStringLiteral("s"));
    tables.assign(SyncTables::initial());
    news.assign({});
    SyncReplyProcessor processor(session, tables, news);
    processor.processUtf8(
        R"({"status":1,"sessid":"s","symbolinfo":{"XAU":{"showname":"黄金"},"EURUSD":{"showname":"欧元"}},)"
        R"("LUDsign":5,"LUDarts":5,"ratecount":2,"rate":[{"S":"XAU","B":"1200.5"},{"S":"EURUSD","B":"1.08"}],)"
        R"("rdntcount":1,"rdnt":[{"id":1,"title":"t","impant":2}]})",
        {}, 1000);
}

// One fuzz input: fed twice (the second pass sees its own stamps again).
inline std::string checkInput(const QByteArray& input) {
    SessionState session;
    SharedSyncTables tables;
    NewsList news;
    seedState(session, tables, news);
    std::string e = checkOneReply(session, tables, news, input);
    if (e.empty())
        e = checkOneReply(session, tables, news, input);
    return e;
}

} // namespace kovan::test
