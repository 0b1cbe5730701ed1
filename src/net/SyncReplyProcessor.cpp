#include "net/SyncReplyProcessor.h"

#include "core/JsonParams.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonParseError>

namespace kovan {

namespace {

struct StampPair {
    QStringView stamp;
    QStringView flag;
};

constexpr StampPair kStampPairs[] = {
    {u"LUDsign", u"signCHG"},
    {u"LUDarts", u"artsCHG"},
    {u"LUDplan", u"planCHG"},
    {u"LUDmkts", u"mktsCHG"},
};

// The quote table's lines with a case-folded name → first line index, so that a reply with
// hundreds of bids costs one pass instead of one scan per bid.
class QuoteLines {
public:
    explicit QuoteLines(NameValueList& table) : m_table(table), m_lines(table.lines()) {
        m_table.clear(); // leaves m_lines the only owner: edits below do not copy the list
        rebuildIndex();
    }
    ~QuoteLines() { m_table.setLines(std::move(m_lines)); }

    QString value(const QString& key) const {
        const auto it = m_index.constFind(key.toCaseFolded());
        if (it == m_index.cend())
            return {};
        const QString& line = m_lines[*it];
        return line.mid(line.indexOf(u'=') + 1);
    }

    void setValue(const QString& key, const QString& value) {
        const QString folded = key.toCaseFolded();
        const auto it = m_index.constFind(folded);
        if (value.isEmpty()) {
            if (it != m_index.cend()) {
                m_lines.removeAt(*it);
                rebuildIndex();
            }
            return;
        }
        QString line = key + u'=' + value;
        if (it != m_index.cend()) {
            m_lines[*it] = std::move(line);
        } else {
            // A key holding "=" never matches a line (its name ends at the first "="), so
            // such a key is only appended, as NameValueList does.
            if (!key.contains(u'='))
                m_index.insert(folded, m_lines.size());
            m_lines.append(std::move(line));
        }
    }

private:
    void rebuildIndex() {
        m_index.clear();
        m_index.reserve(m_lines.size());
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const qsizetype eq = m_lines[i].indexOf(u'=');
            if (eq < 0)
                continue;
            QString name = m_lines[i].left(eq).toCaseFolded();
            if (!m_index.contains(name))
                m_index.insert(std::move(name), i);
        }
    }

    NameValueList& m_table;
    QStringList m_lines;
    QHash<QString, qsizetype> m_index;
};

} // namespace

SyncReplyProcessor::SyncReplyProcessor(Guarded<SyncTables>& tables,
                                       Guarded<QList<topInfoRuntimeRecord>>& topInfoList)
    : m_tables(tables), m_topInfoList(topInfoList) {}

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

    // Symbols, session id and stamps: each under the table lock, the hooks outside it.
    const QString replySessid = jsonText(reply, u"sessid");
    bool sessidChanged = false;
    bool stampMoved = false;
    m_tables.with([&](SyncTables& t) {
        applySymbols(t, symbolinfo.toObject());
        if (t.sessid != replySessid) {
            t.sessid = replySessid;
            sessidChanged = true;
        }
    });
    if (sessidChanged && hooks.forceReloadAll)
        hooks.forceReloadAll();
    m_tables.with([&](SyncTables& t) { stampMoved = applyStamps(t.syncState, reply); });
    if (stampMoved && hooks.checkRefresh)
        hooks.checkRefresh();

    if (jsonInt(reply, u"ratecount") > 0) {
        const QJsonValue rate = reply.value(u"rate");
        if (!rate.isArray())
            return Outcome::Unusable;
        const QJsonArray rates = rate.toArray();
        m_tables.with([&](SyncTables& t) { applyRates(t.quoteTable, rates); });
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
    for (auto it = symbolinfo.constBegin(); it != symbolinfo.constEnd(); ++it) {
        const QString code = it.key();
        t.symbolCodes.append(code);
        t.quoteTable.setValue(QString(code + QStringLiteral("_showname")),
                              jsonText(it.value().toObject(), u"showname"));
        t.quoteTable.setValue(QString(code + QStringLiteral("_CG")), QStringLiteral("0"));
    }
    return true;
}

bool SyncReplyProcessor::applyStamps(QJsonObject& syncState, const QJsonObject& reply) {
    bool moved = false;
    for (const StampPair& p : kStampPairs) {
        const qint64 stored = jsonInt(syncState, p.stamp);
        const qint64 sent = jsonInt(reply, p.stamp);
        if (stored < sent) {
            syncState.insert(p.stamp, sent);
            syncState.insert(p.flag, 1);
            moved = true;
        } else {
            syncState.insert(p.flag, 0);
        }
    }
    return moved;
}

void SyncReplyProcessor::applyRates(NameValueList& quoteTable, const QJsonArray& rates) {
    QuoteLines lines(quoteTable);
    for (const QJsonValue& element : rates) {
        const QJsonObject rate = element.toObject();
        const QString code = jsonText(rate, u"S");
        const QString bid = jsonText(rate, u"B");
        const QString bidKey = code + QStringLiteral("_BID");
        const QString old = lines.value(bidKey);
        if (old == bid)
            continue;
        // Textual, by UTF-16 code units: "99.99" is above "100.01".
        const bool down = QString::compare(old, bid, Qt::CaseSensitive) > 0;
        lines.setValue(code + QStringLiteral("_CG"),
                       down ? QStringLiteral("-1") : QStringLiteral("1"));
        lines.setValue(bidKey, bid);
    }
}

void SyncReplyProcessor::applyNews(QList<topInfoRuntimeRecord>& list, const QJsonArray& items,
                                   qint64 nowLocalSecs) {
    const QString rdnt = QStringLiteral("rdnt");
    for (const QJsonValue& element : items) {
        const QJsonObject item = element.toObject();
        const auto id = qint32(jsonInt(item, u"id"));
        const bool held = std::any_of(list.cbegin(), list.cend(), [&](const auto& r) {
            return r.evID == id && r.evType == rdnt;
        });
        if (held)
            continue;
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
