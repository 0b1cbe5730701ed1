// The layout step of a full frame, checked on numbers: visible range, price scale, label and
// bar positions. Text widths come from a fixed-pitch stand-in (6 px a character), so no font
// is involved.

#include "chart/ChartFrameLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kovan;

namespace {

int sixPerChar(const QString& s) {
    return 6 * int(s.size());
}

// n hourly bars from 2023-11-14 23:00 UTC between 5000 and 5100.
ChartDataList bars(int n) {
    ChartDataList s;
    for (int i = 0; i < n; ++i) {
        const float o = 5040 + float(i % 7), c = 5040 + float((i * 3) % 11);
        s.push_back({1700002800 + i * 3600, o, c, 5000 + float(i % 5), 5100 - float(i % 3)});
    }
    return s;
}

ChartFrameInput input(const ChartDataList& b, int w = 532, int h = 500) {
    ChartFrameInput in;
    in.bars = &b;
    in.width = w;
    in.height = h;
    in.kwidth = 3;
    in.kmargin = 1;
    in.pipMin = 1;
    in.basePip = 8;
    return in;
}

struct RangeCase {
    const char* name;
    int w, h, kwidth, kmargin;
    bool follow;
    int firstIndex, n;
    FrameStatus status;
    int first, last, firstIndexAfter, drawn, slots;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ChartFrameRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ChartFrameRange, VisibleBarsAndScrollState) {
    const RangeCase c = GetParam();
    const ChartDataList b = bars(c.n);
    ChartFrameInput in = input(b, c.w, c.h);
    in.kwidth = c.kwidth;
    in.kmargin = c.kmargin;
    in.follow = c.follow;
    in.firstIndex = c.firstIndex;
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    EXPECT_EQ(l.status, c.status);
    EXPECT_EQ(l.firstIndex, c.firstIndexAfter);
    if (c.status == FrameStatus::NoSlotWidth)
        return;
    EXPECT_EQ(l.slots, c.slots);
    if (c.status != FrameStatus::Ok)
        return;
    EXPECT_EQ(l.first, c.first);
    EXPECT_EQ(l.last, c.last);
    EXPECT_EQ(l.drawnBars(), c.drawn);
    EXPECT_EQ(l.barCount, c.n);
}

// Default view 532 × 500: W = 472, step 4, round(472 / 4) = 118 slots; follow mode leaves
// 3 × step = 12 slots empty on the right.
INSTANTIATE_TEST_SUITE_P(
    Chart, ChartFrameRange,
    ::testing::Values(
        RangeCase{"follow_1000", 532, 500, 3, 1, true, 0, 1000, FrameStatus::Ok, 894, 999, 894, 106,
                  118},
        // Fewer bars than slots: from bar 0; FDNInx keeps the unclamped first index.
        RangeCase{"follow_50", 532, 500, 3, 1, true, 0, 50, FrameStatus::Ok, 0, 49, -56, 50, 118},
        RangeCase{"follow_106", 532, 500, 3, 1, true, 0, 106, FrameStatus::Ok, 0, 105, 0, 106, 118},
        RangeCase{"follow_107", 532, 500, 3, 1, true, 0, 107, FrameStatus::Ok, 1, 106, 1, 106, 118},
        // A scroll: the scale covers 118 - step bars, all 118 slots are drawn.
        RangeCase{"scrolled_100", 532, 500, 3, 1, false, 100, 1000, FrameStatus::Ok, 100, 214, 100,
                  118, 118},
        RangeCase{"scrolled_950", 532, 500, 3, 1, false, 950, 1000, FrameStatus::Ok, 950, 999, 950,
                  50, 118},
        RangeCase{"scrolled_to_newest", 532, 500, 3, 1, false, 999, 1000, FrameStatus::Ok, 999, 999,
                  999, 1, 118},
        RangeCase{"scrolled_past_end", 532, 500, 3, 1, false, 1000, 1000, FrameStatus::FirstPastEnd,
                  0, 0, 1000, 0, 118},
        // 117.5 slots round to 118, 116.5 to 116 (half to even).
        RangeCase{"half_slot_up", 530, 500, 3, 1, true, 0, 1000, FrameStatus::Ok, 894, 999, 894,
                  106, 118},
        RangeCase{"half_slot_down", 526, 500, 3, 1, true, 0, 1000, FrameStatus::Ok, 896, 999, 896,
                  104, 116},
        // Line-mode style: step 3, round(472 / 3) = 157 slots, 9 empty.
        RangeCase{"step_3", 532, 500, 2, 1, true, 0, 1000, FrameStatus::Ok, 852, 999, 852, 148,
                  157},
        // The right margin is 3 × step bars: on a narrow view or with wide slots it swallows
        // the whole view and no bar is left to show.
        RangeCase{"narrow_view", 100, 60, 3, 1, true, 0, 300, FrameStatus::FirstPastEnd, 0, 0, 302,
                  0, 10},
        RangeCase{"wide_slots", 532, 500, 15, 5, true, 0, 1000, FrameStatus::FirstPastEnd, 0, 0,
                  1036, 0, 24},
        RangeCase{"empty_series", 532, 500, 3, 1, true, 0, 0, FrameStatus::FirstPastEnd, 0, 0, -106,
                  0, 118},
        RangeCase{"zero_step", 532, 500, 0, 0, false, 7, 1000, FrameStatus::NoSlotWidth, 0, 0, 7, 0,
                  0}),
    [](const ::testing::TestParamInfo<RangeCase>& i) { return std::string(i.param.name); });

// Bars spanning 5000 … 6300 exactly: with BASEPIP 0 and PIPMIN 1 the scale is 1300 pips over
// H = 480 rows, and H div 13 ≤ 40 gives 11 labels, 100 apart.
ChartDataList spanning() {
    ChartDataList s = bars(20);
    s[3].high = 6300;
    s[7].low = 5000;
    return s;
}

TEST(ChartFrameLayout, PriceLabelsSitFourRowsAboveTheirPrice) {
    const ChartDataList b = spanning();
    ChartFrameInput in = input(b);
    in.basePip = 0;
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_FLOAT_EQ(l.scale.high, 6300);
    EXPECT_FLOAT_EQ(l.scale.low, 5000);
    EXPECT_FLOAT_EQ(l.scale.perPx, 480.0f / 1300.0f);
    // Rows of i × 100 pips: round(i × 36.923…).
    const int rows[] = {37, 74, 111, 148, 185, 222, 258, 295, 332, 369, 406};
    ASSERT_EQ(l.priceLabels.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(l.priceLabels[size_t(i)].pos, QPoint(476, rows[i] - 4)) << i;
        EXPECT_EQ(l.priceLabels[size_t(i)].text, QString::number(6200 - 100 * i)) << i;
    }
}

struct LabelCountCase {
    int h, labels;
};

class ChartFramePriceLabels : public ::testing::TestWithParam<LabelCountCase> {};

TEST_P(ChartFramePriceLabels, CountFollowsTheHeight) {
    const ChartDataList b = spanning();
    const ChartFrameLayout l = layoutFrame(input(b, 532, GetParam().h), sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_EQ(int(l.priceLabels.size()), GetParam().labels);
    for (const ChartLabel& p : l.priceLabels)
        EXPECT_EQ(p.pos.x(), 532 - 60 + 4);
}

// H = h − 20; k is the smallest odd k ≥ 3 with H div k ≤ 40, k − 2 labels.
INSTANTIATE_TEST_SUITE_P(Chart, ChartFramePriceLabels,
                         ::testing::Values(LabelCountCase{500, 11}, LabelCountCase{140, 1},
                                           LabelCountCase{143, 3}, LabelCountCase{240, 5},
                                           LabelCountCase{1080, 25}));

TEST(ChartFrameLayout, ScrolledScaleIgnoresBarsAfterTheRangeAndThePrice) {
    ChartDataList b = bars(1000);
    b[300].high = 9000; // drawn in slot 117 (first 183) but outside the range 183 … 297
    ChartFrameInput in = input(b);
    in.follow = false;
    in.firstIndex = 183;
    in.price = 1; // the newest bar is not visible: the price does not stretch the scale
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_EQ(l.last, 297);
    EXPECT_EQ(l.drawnBars(), 118);
    EXPECT_FLOAT_EQ(l.scale.high, 5100 + 8);
    EXPECT_FLOAT_EQ(l.scale.low, 5000 - 8);
    EXPECT_FALSE(l.marker.shown); // 1 lies below the scale
    EXPECT_LT(l.candleBars[117].wickTop, 0);
}

TEST(ChartFrameLayout, FollowScaleTakesInThePrice) {
    const ChartDataList b = bars(300);
    ChartFrameInput in = input(b);
    in.price = 5300;
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_FLOAT_EQ(l.price, 5300);
    EXPECT_FLOAT_EQ(l.scale.high, 5308);
    EXPECT_FLOAT_EQ(l.scale.low, 4992);
    // The marker sits at the top margin: 8 pips below the top.
    ASSERT_TRUE(l.marker.shown);
    const int y = int(std::lround(8 * 480.0 / 316));
    EXPECT_EQ(l.marker.y, y);
    EXPECT_EQ(l.marker.box.x1, 532 - 56);
    EXPECT_EQ(l.marker.box.y1, y - 8);
    EXPECT_EQ(l.marker.box.x2, 532 - 4);
    EXPECT_EQ(l.marker.box.y2, y + 8);
    EXPECT_EQ(l.marker.label.pos, QPoint(532 - 54, y - 7));
    EXPECT_EQ(l.marker.label.text, QStringLiteral("5300"));
    EXPECT_EQ(l.marker.lineEnd, 532 - 56);
}

TEST(ChartFrameLayout, NoPriceKnownShowsTheNewestClose) {
    const ChartDataList b = bars(300);
    const ChartFrameLayout l = layoutFrame(input(b), sixPerChar);
    EXPECT_FLOAT_EQ(l.price, b.back().close);
    EXPECT_TRUE(l.marker.shown);
    EXPECT_EQ(l.marker.label.text, QString::number(double(b.back().close)));
}

TEST(ChartFrameLayout, MarkerAtTheBottomOfTheScaleIsNotShownAtTheTopItIs) {
    const ChartDataList b = spanning();
    ChartFrameInput in = input(b);
    in.basePip = 0;
    in.price = 5000; // lo < p fails
    EXPECT_FALSE(layoutFrame(in, sixPerChar).marker.shown);
    in.price = 6300; // p ≤ hi holds
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_TRUE(l.marker.shown);
    EXPECT_EQ(l.marker.y, 0);
}

struct TimeCase {
    const char* name;
    int kwidth, kmargin;
    bool candles;
    int every, firstTickX;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.name;
}

class ChartFrameTimeLabels : public ::testing::TestWithParam<TimeCase> {};

TEST_P(ChartFrameTimeLabels, EveryOddNumberOfSlotsAtTheMiddleBar) {
    const TimeCase c = GetParam();
    const ChartDataList b = bars(1000);
    ChartFrameInput in = input(b);
    in.kwidth = c.kwidth;
    in.kmargin = c.kmargin;
    in.candles = c.candles;
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_EQ(l.labelEvery, c.every);
    const int step = c.kwidth + c.kmargin, half = c.every / 2;
    ASSERT_EQ(int(l.timeLabels.size()), l.drawnBars() / c.every);
    ASSERT_FALSE(l.timeLabels.empty());
    EXPECT_EQ(l.timeLabels[0].tickX, c.firstTickX);
    for (size_t t = 0; t < l.timeLabels.size(); ++t) {
        const ChartTimeLabel& tl = l.timeLabels[t];
        const int j = int(t + 1) * c.every - 1; // labelled after slot j
        EXPECT_EQ(tl.slot, j);
        EXPECT_EQ(tl.tickX, (j - half) * step);
        const qint64 dl = b[size_t(l.first + j - half)].dl + (c.candles ? 0 : 8 * 3600);
        const qint64 s = dl % 86400;
        const QString hhmm = QStringLiteral("%1:%2")
                                 .arg(s / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(s % 3600 / 60, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(tl.label.text, hhmm);
        EXPECT_EQ(tl.label.pos, QPoint(tl.tickX - 15, 480 + 5)); // centred: 30 px wide
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chart, ChartFrameTimeLabels,
    // step 4: ceil(40 / 4) = 10 → 11, first label after slot 10 at (10 − 5) × 4.
    ::testing::Values(TimeCase{"candles_step4", 3, 1, true, 11, 20},
                      TimeCase{"line_step4", 3, 1, false, 11, 20},
                      TimeCase{"step5", 3, 2, true, 9, 20}, TimeCase{"step8", 5, 3, true, 5, 16},
                      TimeCase{"step1", 1, 0, true, 41, 20}),
    [](const ::testing::TestParamInfo<TimeCase>& i) { return std::string(i.param.name); });

TEST(ChartFrameLayout, CandleBodiesAndWicks) {
    // Rising, falling and flat bars on a 60-pip scale over 480 rows: 8 rows a pip.
    const ChartDataList b = {
        {1000, 100, 140, 90, 150}, {4600, 140, 110, 100, 145}, {8200, 120, 120, 100, 130}};
    ChartFrameInput in = input(b);
    in.basePip = 0;
    const ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    ASSERT_EQ(l.candleBars.size(), 3u);
    const ChartCandle& up = l.candleBars[0];
    EXPECT_TRUE(up.rising);
    EXPECT_EQ(up.x0, 1);
    EXPECT_EQ(up.x1, 4);
    EXPECT_EQ(up.bodyTop, 80);     // Y(140)
    EXPECT_EQ(up.bodyBottom, 400); // Y(100)
    EXPECT_EQ(up.wickX, 2);
    EXPECT_EQ(up.wickTop, 0);      // Y(150)
    EXPECT_EQ(up.wickBottom, 480); // Y(90)
    const ChartCandle& down = l.candleBars[1];
    EXPECT_FALSE(down.rising);
    EXPECT_EQ(down.x0, 5);
    EXPECT_EQ(down.bodyTop, 80);     // Y(open 140)
    EXPECT_EQ(down.bodyBottom, 320); // Y(close 110)
    EXPECT_EQ(down.wickTop, 40);
    EXPECT_EQ(down.wickBottom, 400);
    const ChartCandle& flat = l.candleBars[2];
    EXPECT_FALSE(flat.rising);
    EXPECT_EQ(flat.x0, 9);
    EXPECT_EQ(flat.wickX, 10);
    EXPECT_EQ(flat.bodyTop, 239); // one row above Y(120)
    EXPECT_EQ(flat.bodyBottom, 240);
}

TEST(ChartFrameLayout, PriceMovesTheNewestBarOnly) {
    const ChartDataList b = {{1000, 100, 140, 90, 150}, {4600, 140, 110, 100, 145}};
    ChartFrameInput in = input(b);
    in.basePip = 0;
    in.price = 170; // above: the newest bar rises to it; the scale is 90 … 170, 6 rows a pip
    ChartFrameLayout l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.status, FrameStatus::Ok);
    EXPECT_EQ(l.candleBars[0].bodyTop, 180); // untouched: Y(140)
    EXPECT_TRUE(l.candleBars[1].rising);
    EXPECT_EQ(l.candleBars[1].bodyTop, 0);      // Y(170)
    EXPECT_EQ(l.candleBars[1].bodyBottom, 180); // Y(open 140)
    EXPECT_EQ(l.candleBars[1].wickTop, 0);

    in.candles = false;
    in.kwidth = 1;
    l = layoutFrame(in, sixPerChar);
    ASSERT_EQ(l.linePoints.size(), 2u);
    EXPECT_EQ(l.linePoints[0], QPoint(1, 180)); // kmargin + j × step, Y(close)
    EXPECT_EQ(l.linePoints[1], QPoint(3, 0));   // the price, not the close
    EXPECT_TRUE(l.candleBars.empty());
}

TEST(ChartFrameLayout, NoUsableScaleIsReported) {
    ChartDataList flat;
    for (int i = 0; i < 30; ++i)
        flat.push_back({1000 + i * 60, 10, 10, 10, 10});
    ChartFrameInput in = input(flat);
    in.basePip = 0;
    EXPECT_EQ(layoutFrame(in, sixPerChar).status, FrameStatus::NoPriceScale);
    in.basePip = 2;
    EXPECT_EQ(layoutFrame(in, sixPerChar).status, FrameStatus::Ok);
    in.pipMin = 0;
    EXPECT_EQ(layoutFrame(in, sixPerChar).status, FrameStatus::NoPriceScale);
    in.pipMin = 1;
    in.price = std::numeric_limits<float>::infinity();
    EXPECT_EQ(layoutFrame(in, sixPerChar).status, FrameStatus::NoPriceScale);
}

TEST(ChartFrameLayout, ReusedLayoutKeepsNothingFromTheFrameBefore) {
    const ChartDataList many = bars(1000), few = bars(3);
    ChartFrameLayout l;
    layoutFrame(input(many), sixPerChar, l);
    ChartFrameInput in = input(few);
    in.price = 1; // stretches the scale far below
    layoutFrame(in, sixPerChar, l);
    EXPECT_EQ(l.drawnBars(), 3);
    EXPECT_TRUE(l.marker.shown);
    EXPECT_FLOAT_EQ(l.scale.low, -7);
    EXPECT_TRUE(l.timeLabels.empty());
    EXPECT_EQ(l.priceLabels.size(), 11u);
    in.kwidth = 0;
    in.kmargin = 0;
    layoutFrame(in, sixPerChar, l);
    EXPECT_EQ(l.status, FrameStatus::NoSlotWidth);
    EXPECT_EQ(l.drawnBars(), 0);
    EXPECT_TRUE(l.priceLabels.empty());
    EXPECT_FALSE(l.marker.shown);
}

} // namespace
