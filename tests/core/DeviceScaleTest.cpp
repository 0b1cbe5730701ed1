#include "core/DeviceScale.h"
#include "core/RoundHalfEven.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovan;

TEST(DeviceScale, PositionsAreScaledAndRoundedHalfToEven) {
    struct Case {
        double ratio;
        int logical;
        int device;
    } const cases[] = {
        {1.0, 7, 7},  {1.0, -3, -3}, {2.0, 7, 14},    {2.0, -3, -6}, {1.5, 1, 2},
        {1.5, 3, 4},  {1.5, 5, 8},   {1.5, 499, 748}, {1.25, 2, 2},  {1.25, 6, 8},
        {1.75, 2, 4}, {1.75, 6, 10}, {3.0, 5, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceScale(c.ratio).px(c.logical), c.device) << c.ratio << " " << c.logical;
}

TEST(DeviceScale, RectanglesCoverTheirEdgesAndStaySideBySide) {
    struct Case {
        double ratio;
        QRect logical;
        QRect device;
    } const cases[] = {
        {1.0, QRect(3, 4, 5, 6), QRect(3, 4, 5, 6)},
        {2.0, QRect(3, 4, 5, 6), QRect(6, 8, 10, 12)},
        {1.5, QRect(1, 1, 2, 2), QRect(2, 2, 2, 2)}, // edges 1 → 2, 3 → 4 (4.5 → 4, even)
        {1.5, QRect(3, 3, 1, 1), QRect(4, 4, 2, 2)}, // right beside it: 3 → 4, 4 → 6
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceScale(c.ratio).rect(c.logical), c.device) << c.ratio;
}

TEST(DeviceScale, LineWidthsAndFontSizes) {
    EXPECT_EQ(DeviceScale(1).lineWidth(), 1);
    EXPECT_EQ(DeviceScale(1.25).lineWidth(), 1);
    EXPECT_EQ(DeviceScale(1.5).lineWidth(), 2); // 1.5 rounds to the even 2
    EXPECT_EQ(DeviceScale(2).lineWidth(), 2);
    EXPECT_EQ(DeviceScale(2.5).lineWidth(), 2);
    EXPECT_EQ(DeviceScale(11.0 / 8).fontPixels(8), 11);
    EXPECT_EQ(DeviceScale(1.5).fontPixels(11), 16); // 16.5 to even
    EXPECT_EQ(DeviceScale(2).fontPixels(11), 22);
    EXPECT_EQ(DeviceScale(2).size(QSize(532, 500)), QSize(1064, 1000));
    EXPECT_EQ(DeviceScale(1.5).size(QSize(533, 501)), QSize(800, 752));
    EXPECT_EQ(DeviceScale(0).ratio(), 1.0); // nonsense ratios draw at 1
    EXPECT_EQ(DeviceScale(-2).ratio(), 1.0);
}

// Ties go to the even neighbour, either sign; huge values and NaN are clamped.
TEST(RoundHalfEven, TiesToEvenAndClamped) {
    struct Case {
        double v;
        int rounded;
    } const cases[] = {{0.5, 0},
                       {1.5, 2},
                       {2.5, 2},
                       {-0.5, 0},
                       {-1.5, -2},
                       {-2.5, -2},
                       {2.4999, 2},
                       {748.5, 748},
                       {1e12, 1 << 30},
                       {-1e12, -(1 << 30)},
                       {std::nan(""), -(1 << 30)}};
    for (const Case& c : cases)
        EXPECT_EQ(roundHalfEven(c.v), c.rounded) << c.v;
}
