#include "chart/ChartGeometry.h"

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::chartgeo;

TEST(ChartGeometry, RoundingIsHalfToEven) {
    EXPECT_EQ(roundEven(0.5), 0);
    EXPECT_EQ(roundEven(1.5), 2);
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(-0.5), 0);
    EXPECT_EQ(roundEven(-1.5), -2);
    EXPECT_EQ(roundEven(2.4999), 2);
    EXPECT_EQ(roundEven(2.5001), 3);
    EXPECT_EQ(roundEven(1e300), 1 << 30);
    EXPECT_EQ(roundEven(-1e300), -(1 << 30));
    EXPECT_EQ(roundEven(std::numeric_limits<double>::quiet_NaN()), -(1 << 30));
}

TEST(ChartGeometry, LabelSpacingIsAlwaysOdd) {
    const std::pair<int, int> cases[] = {{4, 11}, {1, 41}, {2, 21}, {3, 15},
                                         {5, 9},  {8, 5},  {40, 1}, {41, 1}};
    for (auto [step, every] : cases)
        EXPECT_EQ(labelEvery(step), every) << step;
}

TEST(ChartGeometry, PriceLabelDivisions) {
    EXPECT_EQ(priceLabelCount(480), 13); // 480 div 11 = 43 > 40, 480 div 13 = 36
    EXPECT_EQ(priceLabelCount(120), 3);
    EXPECT_EQ(priceLabelCount(123), 5);
    EXPECT_EQ(priceLabelCount(0), 3);
}

TEST(ChartGeometry, VisibleRangeOfTheDefaultWindow) {
    EXPECT_EQ(slotCount(472, 4), 118);
    EXPECT_EQ(slotCount(470, 4), 118); // 117.5 → 118
    EXPECT_EQ(slotCount(466, 4), 116); // 116.5 → 116
    Range r = visibleRange(true, 0, 1000, 472, 4);
    EXPECT_EQ(r.first, 894);
    EXPECT_EQ(r.last, 999);
    r = visibleRange(true, 0, 50, 472, 4);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, 49);
    r = visibleRange(false, 100, 1000, 472, 4);
    EXPECT_EQ(r.first, 100);
    EXPECT_EQ(r.last, 214); // 100 + 118 - 4
    r = visibleRange(false, 950, 1000, 472, 4);
    EXPECT_EQ(r.last, 999);
}

TEST(ChartGeometry, DragScrolling) {
    EXPECT_EQ(scrollTarget(894, 1000, 532, 4, 100, 103), -1); // shorter than a slot
    EXPECT_EQ(scrollTarget(894, 1000, 532, 4, 100, 140), 884);
    // From follow mode (894 > 886) a drag must reach back at least eight slots.
    EXPECT_EQ(scrollTarget(894, 1000, 532, 4, 100, 104), -1);
    EXPECT_EQ(scrollTarget(500, 1000, 532, 4, 100, 104), 499);
    EXPECT_EQ(scrollTarget(500, 1000, 532, 4, 100, 95), 501); // -5 div 4 = -1
    EXPECT_EQ(scrollTarget(500, 1000, 532, 4, 100, 97), -1);  // shorter than a slot
    EXPECT_EQ(scrollTarget(5, 1000, 532, 4, 0, 400), 0);      // raised to 0
    // Not past the newest bars: f ≤ n - 118 + 4 = 886.
    EXPECT_EQ(scrollTarget(880, 1000, 532, 4, 40, 0), -1);
    EXPECT_EQ(scrollTarget(880, 1000, 532, 4, 24, 0), 886);
}

TEST(ChartGeometry, PriceScaleAndLabels) {
    const PriceScale s{5700.0f, 5500.0f, 2.4f, 1.0f};
    EXPECT_EQ(s.y(5700), 0);
    EXPECT_EQ(s.y(5500), 480);
    EXPECT_EQ(s.y(5600), 240);
    EXPECT_NEAR(s.price(240), 5600.0, 1e-3);
    EXPECT_EQ(priceLabel(5612.5, 0), QStringLiteral("5612"));
    EXPECT_EQ(priceLabel(5613.5, 0), QStringLiteral("5614"));
    EXPECT_EQ(priceLabel(1.23456, 4), QStringLiteral("1.2346"));
    EXPECT_EQ(priceLabel(7.0, 2), QStringLiteral("7.00"));
    EXPECT_EQ(timeLabel(1700002800), QStringLiteral("23:00"));
    EXPECT_EQ(timeLabel(1700002800 + 28800), QStringLiteral("07:00"));
    EXPECT_EQ(timeLabel(0), QStringLiteral("00:00"));
}
