#pragma once

#include "chart/ChartData.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kovan {

// One bar of a chart reply as the data server sent it: D (seconds since 1970 UTC), O, H, L, C.
struct ChartReplyBar {
    qint64 D = 0;
    double O = 0;
    double H = 0;
    double L = 0;
    double C = 0;
};

// The reply of GET /chart/SYM/PERIOD/FROM/COUNT, parsed. Parsed on the feed thread; merged on
// the GUI thread (see ChartProcess).
struct ChartReply {
    bool parsed = false; // the text was a JSON object
    qint64 status = 0;   // 1 = success
    qint64 count = 0;
    std::vector<ChartReplyBar> data; // oldest first
    double BID = 0;

    // Only a reply that parsed, has status 1 and a count above 0 is merged (its BID too).
    bool mergeable() const { return parsed && status == 1 && count > 0; }
};

// Reads a reply text. Elements of `data` that are not objects read as all zeros, as missing
// keys do.
ChartReply parseChartReply(const QString& text);
// The same from the reply's bytes as JSON (UTF-8), without a text in between: for a body that
// reads alike in every charset the server may name (asciiBody).
ChartReply parseChartReplyJson(const QByteArray& json);
// Whether `body` is plain ASCII under a Content-Type whose charset is not UTF-16: then its
// decoded text and its bytes read as UTF-8 are the same characters.
bool asciiBody(const QByteArray& body, const QByteArray& contentType);

// The request of a feed: "<root>/chart/<symbol>/<period>/0/1024" for an empty series,
// "<root>/chart/<symbol>/<period>/<lastDl>/0" once bars are known. `root` is
// "http://host:port"; symbol and period are path segments (escaped).
QString chartRequestUrl(const QString& root, const QString& symbol, const QString& period,
                        std::optional<qint32> lastDl);

struct ChartMergeResult {
    bool added = false;   // bars were appended (the history file is due)
    bool changed = false; // the series changed (appended or the last bar rewritten)
};

// The merge rules, in order over `bars`:
//  - the series is empty or D is after the last bar: append (dl D, open O, close C, low L,
//    high H);
//  - D equals the last bar's time: rewrite open, close, low and high of the last bar when its
//    close, low or high differs from C, L or H (the stored 32-bit value widened and compared
//    exactly, so a price without an exact 32-bit form always counts as different);
//  - older: ignored.
// A D that does not fit a bar time (32 bits) is ignored. Gaps are not filled.
ChartMergeResult mergeChartBars(ChartDataList& series, const std::vector<ChartReplyBar>& bars);
ChartMergeResult mergeChartBars(SharedChartDataList& series,
                                const std::vector<ChartReplyBar>& bars);

// The time of the last bar, none for an empty series.
std::optional<qint32> lastBarTime(const ChartDataList& series);

} // namespace kovan
