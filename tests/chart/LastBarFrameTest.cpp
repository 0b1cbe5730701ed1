// A last-bar frame shows the screen only the rectangle that changed: a recorded feed drawn that
// way, each publish copied onto a "screen" only inside its rectangle, leaves the screen equal,
// byte for byte, to the same feed drawn in full every time; and the rectangle rules of
// lastBarChange case by case.
#include "chart/ChartFrameChange.h"
#include "ChartTestSupport.h"

#include <QPainter>

#include <cstring>

using namespace kovan;
using namespace charttest;

namespace {

// One reply of a recorded feed: the bar it carried and its bid.
struct RecordedReply {
    ChartDataListRecord bar;
    double bid = 0;
};

struct Merged {
    bool added = false;
    bool changed = false;
};

// The feed's merge rule for one bar: a newer one is appended, the newest one rewritten.
Merged merge(SharedChartDataList& series, const ChartDataListRecord& bar) {
    const ChartDataListRecord& last = series.back();
    if (bar.dl > last.dl) {
        series.edit().push_back(bar);
        return {true, true};
    }
    if (bar.dl != last.dl || (bar.close == last.close && bar.low == last.low &&
                              bar.high == last.high && bar.open == last.open))
        return {};
    series.edit().back() = bar;
    return {false, true};
}

// A feed after `series`: mostly the last bar moving a little (as a live market does), now and
// then a move past the scale, a bid alone, a new bar, the same reply twice.
std::vector<RecordedReply> recordedFeed(const ChartDataList& series) {
    std::vector<RecordedReply> feed;
    ChartDataListRecord last = series.back();
    quint32 seed = 88172645u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    for (int i = 0; i < 160; ++i) {
        const quint32 r = next();
        if (i % 37 == 36) { // a new bar
            last = {last.dl + 3600, last.close, last.close, last.close, last.close};
        } else if (i % 23 == 22) { // far past the visible range: the scale moves
            last.close += (r & 1) ? 400.0f : -400.0f;
        } else if (i % 11 != 10) { // the usual small move (a bid alone otherwise)
            last.close += float(int(r % 9) - 4);
        }
        last.high = std::max(last.high, last.close);
        last.low = std::min(last.low, last.close);
        feed.push_back({last, double(last.close) + double(int(next() % 3) - 1)});
        if (i % 17 == 5)
            feed.push_back(feed.back()); // the same reply again
    }
    return feed;
}

// What the controller does with a reply, in one chart: the full frame for new bars, a last-bar
// frame for a rewritten bar or a bid (or the full frame always, when `full`).
void apply(ChartFixture& f, const RecordedReply& reply, bool full) {
    const Merged r = merge(f.rec.datalist, reply.bar);
    const float bid = float(reply.bid);
    const bool moved = bid != f.chart.Price();
    f.chart.storePrice(bid);
    if (!r.changed && !moved)
        return;
    if (full || r.added)
        f.chart.draw();
    else
        f.chart.drawLastBar();
}

// Copies the part of `frame` that the last publish named onto `screen`.
void show(QImage& screen, const QImage& frame, const QRegion& changed) {
    const QRegion part = changed.isEmpty() ? QRegion(frame.rect()) : changed & frame.rect();
    for (const QRect& r : part)
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(screen.scanLine(y) + r.left() * 4, frame.constScanLine(y) + r.left() * 4,
                        size_t(r.width()) * 4);
}

bool sameBytes(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0)
            return false;
    return true;
}

struct FeedCase {
    const char* name;
    int kwidth;
    int kmargin;
    int linetype;
    int width;
    int height;
    double ratio = 1; // the screen's: bitmaps, and the changed parts, in its device pixels
};

class LastBarFeedTest : public ::testing::TestWithParam<FeedCase> {};

TEST_P(LastBarFeedTest, ScreenEqualsFullFramesByteForByte) {
    const FeedCase& c = GetParam();
    QJsonObject style = defaultStyle();
    style.insert("kwidth", c.kwidth);
    style.insert("kmargin", c.kmargin);
    style.insert("linetype", c.linetype);
    ChartFixture partial(c.width, c.height, c.ratio), full(c.width, c.height, c.ratio);
    for (ChartFixture* f : {&partial, &full}) {
        f->rec.datalist = wavySeries(400);
        f->chart.setStyle(style);
        f->chart.storePrice(f->rec.datalist.back().close);
        f->chart.draw();
    }
    QImage screen = partial.published();
    int partialFrames = 0;
    int step = 0;
    for (const RecordedReply& reply : recordedFeed(partial.rec.datalist)) {
        apply(partial, reply, false);
        apply(full, reply, true);
        const QImage drawn = partial.published();
        show(screen, drawn, partial.chart.lastChange());
        const QRegion& changed = partial.chart.lastChange();
        if (!changed.isEmpty() && changed != QRegion(drawn.rect()))
            ++partialFrames;
        ASSERT_TRUE(sameBytes(drawn, full.published())) << "frame of reply " << step;
        ASSERT_TRUE(sameBytes(screen, full.published())) << "screen after reply " << step;
        ++step;
    }
    // The feed mostly moves the last bar: most frames went out in part.
    EXPECT_GT(partialFrames, step / 2);
}

INSTANTIATE_TEST_SUITE_P(Styles, LastBarFeedTest,
                         ::testing::Values(FeedCase{"Candles", 3, 1, 0, 532, 500},
                                           FeedCase{"WideCandles", 9, 3, 0, 532, 500},
                                           FeedCase{"ThinCandles", 1, 1, 0, 400, 300},
                                           FeedCase{"Line", 3, 1, 1, 532, 500},
                                           FeedCase{"ThinLine", 1, 2, 1, 532, 500},
                                           FeedCase{"CandlesAt2x", 3, 1, 0, 532, 500, 2},
                                           FeedCase{"WideCandlesAt1_5x", 9, 3, 0, 532, 500, 1.5},
                                           FeedCase{"LineAt1_25x", 3, 1, 1, 532, 500, 1.25},
                                           FeedCase{"ThinLineAt1_75x", 1, 2, 1, 400, 300, 1.75}),
                         [](const ::testing::TestParamInfo<FeedCase>& info) {
                             return std::string(info.param.name);
                         });

// An indicator, a cross-hair copy on show or a scrolled view take the whole view.
TEST(LastBarFrame, IndicatorsCrossHairAndScrollingShowTheWholeFrame) {
    ChartFixture f;
    f.rec.datalist = wavySeries(400);
    f.chart.storePrice(f.rec.datalist.back().close);
    f.chart.draw();
    auto nudge = [&f](float d) {
        f.rec.datalist.edit().back().close += d;
        f.chart.drawLastBar();
    };
    nudge(1);
    EXPECT_FALSE(f.chart.lastChange().isEmpty()); // the plain case goes out in part

    f.chart.drawCross(100, 100);
    nudge(-1);
    EXPECT_TRUE(f.chart.lastChange().isEmpty()); // the screen held the cross-hair copy
    nudge(1);
    EXPECT_FALSE(f.chart.lastChange().isEmpty());

    f.chart.addLayer(1, R"({"type":"MA","MALIST":[{"MAPED":5,"color":"#FFFF00","linew":1}]})");
    f.chart.draw();
    nudge(-1);
    EXPECT_TRUE(f.chart.lastChange().isEmpty());
    f.chart.dropLayer(f.chart.IndexLayers().front().lKey);

    f.chart.draw();
    f.chart.scrollTo(10); // the newest bar is out of sight: its change moves nothing shown
    f.chart.draw();
    nudge(1);
    EXPECT_TRUE(f.chart.lastChange().isEmpty());
}

// The rules on laid-out frames.
TEST(LastBarFrame, ChangeRectangleRules) {
    ChartFrameLayout a;
    a.status = FrameStatus::Ok;
    a.width = 532;
    a.height = 500;
    a.priceWidth = 472;
    a.priceHeight = 480;
    a.kwidth = 3;
    a.kmargin = 1;
    a.step = 4;
    a.slots = 118;
    a.barCount = 10;
    a.first = 8;
    a.last = 9;
    a.scale = {100, 50, 0.5f, 1};
    a.candleBars = {ChartCandle{0, 3, 10, 20, true, 1, 5, 25},
                    ChartCandle{4, 7, 30, 40, false, 5, 28, 44}};
    a.marker = {true, 30, {476, 22, 528, 38}, {QPoint(478, 23), "75"}, 476};

    ChartFrameLayout b = a;
    b.candleBars[1].bodyTop = 32;
    b.marker = {true, 60, {476, 52, 528, 68}, {QPoint(478, 53), "60"}, 476};
    const std::optional<QRegion> r = lastBarChange(a, b);
    ASSERT_TRUE(r.has_value());
    auto covers = [&r](const QRect& area) { return (QRegion(area) - *r).isEmpty(); };
    EXPECT_TRUE(covers(QRect(4, 0, 3, 500)));   // the last column, top to bottom
    EXPECT_TRUE(covers(QRect(0, 22, 532, 16))); // the old marker's rows
    EXPECT_TRUE(covers(QRect(0, 52, 532, 16))); // the new marker's rows
    EXPECT_FALSE(r->contains(QPoint(1, 10)));   // the earlier bar, above the markers

    struct Case {
        const char* what;
        std::function<void(ChartFrameLayout&)> change;
    };
    const Case cases[] = {
        {"earlier bar", [](ChartFrameLayout& l) { l.candleBars[0].bodyTop = 11; }},
        {"scale", [](ChartFrameLayout& l) { l.scale.high = 101; }},
        {"bar count", [](ChartFrameLayout& l) { l.barCount = 11; }},
        {"first", [](ChartFrameLayout& l) { l.first = 7; }},
        {"price label",
         [](ChartFrameLayout& l) {
             l.priceLabels.push_back({QPoint(1, 1), "x"});
         }},
        {"time label",
         [](ChartFrameLayout& l) {
             l.timeLabels.push_back({1, 2, {}});
         }},
        {"size", [](ChartFrameLayout& l) { l.height = 501; }},
        {"mode", [](ChartFrameLayout& l) { l.candles = false; }},
        {"abandoned", [](ChartFrameLayout& l) { l.status = FrameStatus::NoPriceScale; }},
    };
    for (const Case& c : cases) {
        ChartFrameLayout other = b;
        c.change(other);
        EXPECT_FALSE(lastBarChange(a, other).has_value()) << c.what;
    }
    // A view scrolled back: its last slot is not the newest bar.
    ChartFrameLayout scrolledA = a, scrolledB = b;
    scrolledA.barCount = scrolledB.barCount = 12;
    EXPECT_FALSE(lastBarChange(scrolledA, scrolledB).has_value());
}

} // namespace
