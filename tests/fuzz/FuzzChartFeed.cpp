// libFuzzer target: arbitrary texts as chart feed replies, merged one after another into one
// series as a chart window does, and as the symbol of the next request. Invariants: bar times
// strictly increase; a merge grows the series by at most the reply's bars and says so; a merge
// that reports no change leaves every bar as it was; the request address keeps its five path
// segments whatever the symbol holds.
#include "chart/ChartReply.h"

#include <QUrl>

#include <cstdlib>

namespace {

using namespace kovan;

void checkSeries(const ChartDataList& series) {
    for (size_t i = 1; i < series.size(); ++i) {
        if (series[i].dl <= series[i - 1].dl)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ChartDataList series;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const ChartReply reply = parseChartReply(text);
    if (reply.mergeable()) {
        const ChartDataList before = series;
        const ChartMergeResult r = mergeChartBars(series, reply.data);
        if (series.size() < before.size() || series.size() > before.size() + reply.data.size())
            std::abort();
        if (r.added != (series.size() > before.size()) || (r.added && !r.changed))
            std::abort();
        if (!r.changed && series != before)
            std::abort();
        checkSeries(series);
    }
    if (series.size() > 100000)
        series.clear();

    const QUrl url(chartRequestUrl(QStringLiteral("http://127.0.0.1:8080"), text.left(64),
                                   QStringLiteral("H1"), lastBarTime(series)));
    if (!url.isValid() || url.host() != QStringLiteral("127.0.0.1") || url.hasQuery() ||
        url.hasFragment() || url.path(QUrl::FullyEncoded).split(u'/').size() != 6)
        std::abort();
    return 0;
}
