#include "chart/ChartReply.h"

#include "core/Escaping.h"
#include "core/JsonParams.h"
#include "net/ReplyDecoder.h"

#include <QJsonArray>
#include <QJsonValue>

#include <algorithm>
#include <limits>

namespace kovan {

namespace {

ChartReply readChartReply(const QJsonObject& o, bool ok) {
    ChartReply r;
    if (!ok)
        return r;
    r.parsed = true;
    r.status = jsonInt(o, u"status");
    r.count = jsonInt(o, u"count");
    r.BID = jsonReal(o, u"BID");
    const QJsonArray data = o.value(QLatin1String("data")).toArray();
    r.data.reserve(size_t(data.size()));
    for (const QJsonValue& v : data) {
        const QJsonObject e = v.toObject();
        r.data.push_back({jsonInt(e, u"D"), jsonReal(e, u"O"), jsonReal(e, u"H"), jsonReal(e, u"L"),
                          jsonReal(e, u"C")});
    }
    return r;
}

} // namespace

ChartReply parseChartReply(const QString& text) {
    bool ok = false;
    const QJsonObject o = parseJsonObject(text, &ok);
    return readChartReply(o, ok);
}

ChartReply parseChartReplyJson(const QByteArray& json) {
    bool ok = false;
    const QJsonObject o = parseJsonObject(json, &ok);
    return readChartReply(o, ok);
}

bool asciiBody(const QByteArray& body, const QByteArray& contentType) {
    if (charsetOf(contentType).startsWith("utf-16"))
        return false;
    return std::all_of(body.begin(), body.end(), [](char c) { return (c & 0x80) == 0; });
}

QString chartRequestUrl(const QString& root, const QString& symbol, const QString& period,
                        std::optional<qint32> lastDl) {
    QString url = root + QStringLiteral("/chart/") + urlPathSegment(symbol) + u'/' +
                  urlPathSegment(period) + u'/';
    if (lastDl)
        url += QString::number(*lastDl) + QStringLiteral("/0");
    else
        url += QStringLiteral("0/1024");
    return url;
}

ChartMergeResult mergeChartBars(ChartDataList& series, const std::vector<ChartReplyBar>& bars) {
    ChartMergeResult r;
    for (const ChartReplyBar& e : bars) {
        if (e.D < std::numeric_limits<qint32>::min() || e.D > std::numeric_limits<qint32>::max())
            continue;
        const qint32 d = qint32(e.D);
        if (series.empty() || d > series.back().dl) {
            series.push_back({d, float(e.O), float(e.C), float(e.L), float(e.H)});
            r.added = r.changed = true;
        } else if (d == series.back().dl) {
            ChartDataListRecord& last = series.back();
            if (double(last.close) != e.C || double(last.low) != e.L || double(last.high) != e.H) {
                last.open = float(e.O);
                last.close = float(e.C);
                last.low = float(e.L);
                last.high = float(e.H);
                r.changed = true;
            }
        }
    }
    return r;
}

ChartMergeResult mergeChartBars(SharedChartDataList& series,
                                const std::vector<ChartReplyBar>& bars) {
    return mergeChartBars(series.edit(), bars);
}

std::optional<qint32> lastBarTime(const ChartDataList& series) {
    if (series.empty())
        return std::nullopt;
    return series.back().dl;
}

} // namespace kovan
