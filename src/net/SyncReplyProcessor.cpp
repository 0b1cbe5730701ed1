#include "net/SyncReplyProcessor.h"

#include "core/JsonParams.h"
#include "core/LogScrubber.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonParseError>

#include <vector>

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

// Case-insensitive hashing and equality of line names, matching NameValueList's look-up
// (QStringView::compare with Qt::CaseInsensitive folds each code point).
struct FoldedHash {
    size_t operator()(QStringView s) const noexcept {
        size_t h = 1469598103934665603ull;
        const qsizetype n = s.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = s[i].unicode();
            if (c < 128) {
                if (c >= u'A' && c <= u'Z')
                    c += 32;
            } else {
                if (QChar::isHighSurrogate(c) && i + 1 < n && s[i + 1].isLowSurrogate())
                    c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
                c = QChar::toCaseFolded(c);
            }
            h = (h ^ c) * 1099511628211ull;
        }
        return h;
    }
};

// An open-addressing table of line names → first line index; names are views into strings
// the owner keeps alive. One allocation per build, none per look-up.
class NameIndex {
public:
    void rebuild(const QStringList& lines) {
        size_t cap = 16;
        while (cap < size_t(lines.size()) * 2 + 2)
            cap *= 2;
        m_slots.assign(cap, Slot{});
        m_used = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const qsizetype eq = lines[i].indexOf(u'=');
            if (eq >= 0)
                insert(QStringView(lines[i]).left(eq), i);
        }
    }
    // -1 when absent.
    qsizetype find(QStringView name) const {
        const size_t h = FoldedHash()(name);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const Slot& s = m_slots[i];
            if (s.line < 0)
                return -1;
            if (s.hash == h && s.name.compare(name, Qt::CaseInsensitive) == 0)
                return s.line;
        }
    }
    // Adds `name` unless it is already there (the first line keeps the name).
    void insert(QStringView name, qsizetype line) {
        if ((m_used + 1) * 2 > m_slots.size()) {
            std::vector<Slot> old = std::move(m_slots);
            m_slots.assign(old.size() * 2, Slot{});
            m_used = 0;
            for (const Slot& s : old)
                if (s.line >= 0)
                    place(s);
        }
        const size_t h = FoldedHash()(name);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            Slot& s = m_slots[i];
            if (s.line < 0) {
                s = Slot{name, h, line};
                ++m_used;
                return;
            }
            if (s.hash == h && s.name.compare(name, Qt::CaseInsensitive) == 0)
                return;
        }
    }

private:
    struct Slot {
        QStringView name;
        size_t hash = 0;
        qsizetype line = -1;
    };
    void place(const Slot& slot) {
        const size_t mask = m_slots.size() - 1;
        size_t i = slot.hash & mask;
        while (m_slots[i].line >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
        ++m_used;
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

// The quote table's lines with a name → first line index, so that a reply with hundreds of
// bids costs one pass instead of one scan per bid. Index keys are views into line strings; a
// replaced line's old string moves to m_keep (its characters stay where they are), so no key
// is left dangling.
class QuoteLines {
public:
    explicit QuoteLines(NameValueList& table) : m_table(table), m_lines(table.lines()) {
        m_table.clear(); // leaves m_lines the only owner: edits below do not copy the list
        rebuildIndex();
    }
    ~QuoteLines() { m_table.setLines(std::move(m_lines)); }

    // The value of `key`, or an empty view.
    QStringView value(QStringView key) const {
        const qsizetype at = m_index.find(key);
        if (at < 0)
            return {};
        const QString& line = m_lines[at];
        return QStringView(line).mid(line.indexOf(u'=') + 1);
    }

    void setValue(QStringView key, QStringView value) {
        const qsizetype at = m_index.find(key);
        if (value.isEmpty()) {
            if (at >= 0) {
                m_lines.removeAt(at);
                rebuildIndex();
            }
            return;
        }
        if (at >= 0) {
            QString& line = m_lines[at];
            // Same name spelling and value: the line would come out identical.
            if (line.size() == key.size() + 1 + value.size() && QStringView(line).startsWith(key) &&
                line[key.size()] == u'=' && QStringView(line).endsWith(value))
                return;
            m_keep.append(std::move(line)); // index keys may point into it
            line = makeLine(key, value);
            return;
        }
        QString line = makeLine(key, value);
        // A key holding "=" never matches a line (its name ends at the first "="), so such a
        // key is only appended, as NameValueList does.
        if (!key.contains(u'=')) {
            m_keep.append(line);
            m_index.insert(QStringView(m_keep.back()).left(key.size()), m_lines.size());
        }
        m_lines.append(std::move(line));
    }

private:
    static QString makeLine(QStringView key, QStringView value) {
        QString line;
        line.reserve(key.size() + 1 + value.size());
        line.append(key).append(u'=').append(value);
        return line;
    }

    void rebuildIndex() {
        m_index.rebuild(m_lines);
        m_keep.clear();
        m_keep.reserve(m_lines.size());
    }

    NameValueList& m_table;
    QStringList m_lines;
    QStringList m_keep;
    NameIndex m_index;
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
        const bool stale = m_requestSessidKnown && t.sessid != m_requestSessid;
        if (!stale && t.sessid != replySessid) {
            t.sessid = replySessid;
            sessidChanged = true;
        }
    });
    if (sessidChanged)
        logScrubber().addSecret(replySessid); // a session id lives in memory only
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
    QString key;
    for (const QJsonValue& element : rates) {
        const QJsonObject rate = element.toObject();
        const QString code = jsonText(rate, u"S");
        const QString bid = jsonText(rate, u"B");
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
