#include "shell/FormLayout.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(FormLayout, DesignSizeGivesTheThreeColumns) {
    FormLayout l;
    l.resize(920, 585);
    EXPECT_EQ(l.middleColumn(), QRect(0, 85, 713, 448));
    EXPECT_EQ(l.divider(), QRect(713, 85, 7, 448));
    EXPECT_EQ(l.rightColumn(), QRect(720, 85, 200, 448));
    // The middle area ends where the ticker band begins.
    EXPECT_EQ(l.middleColumn().bottom() + 1, 533);
    EXPECT_EQ(l.tickerBand(), QRect(0, 533, 920, 25));
    EXPECT_EQ(l.statusBand(), QRect(0, 558, 920, 27));
    EXPECT_EQ(l.sectionPanel(), QRect(2, 0, 711, 448));
    EXPECT_EQ(l.contentPane(), QRect(2, 85, 711, 448));
    EXPECT_EQ(l.arrowRect(), QRect(0, 201, 7, 45));
    EXPECT_FALSE(l.collapsed());
    EXPECT_TRUE(l.rightColumnVisible());
}

TEST(FormLayout, CollapseThenExpandRestoresExactly) {
    FormLayout l;
    l.resize(920, 585);
    const int arrowY = 85 + 448 / 2;
    ASSERT_TRUE(l.dividerClick(716, arrowY));
    EXPECT_TRUE(l.collapsed());
    EXPECT_FALSE(l.rightColumnVisible());
    EXPECT_EQ(l.divider(), QRect(913, 85, 7, 448));
    EXPECT_EQ(l.middleColumn(), QRect(0, 85, 913, 448));
    EXPECT_EQ(l.sectionPanel(), QRect(2, 0, 911, 448));
    EXPECT_EQ(l.contentPane(), QRect(2, 85, 911, 448));

    ASSERT_TRUE(l.dividerClick(916, arrowY));
    EXPECT_FALSE(l.collapsed());
    EXPECT_TRUE(l.rightColumnVisible());
    EXPECT_EQ(l.middleColumn(), QRect(0, 85, 713, 448));
    EXPECT_EQ(l.divider(), QRect(713, 85, 7, 448));
    EXPECT_EQ(l.rightColumn(), QRect(720, 85, 200, 448));
}

TEST(FormLayout, ClicksOffTheArrowDoNothing) {
    FormLayout l;
    l.resize(920, 585);
    const int centre = 85 + 224; // 309
    for (int y : {centre - 30, centre + 30, centre - 22, centre + 22, 86, 532}) {
        SCOPED_TRACE(y);
        EXPECT_FALSE(l.dividerClick(716, y));
        EXPECT_FALSE(l.collapsed());
        EXPECT_EQ(l.middleColumn(), QRect(0, 85, 713, 448));
    }
    // Just inside both ends of the 45-pixel zone.
    EXPECT_TRUE(l.onArrow(centre - 21));
    EXPECT_TRUE(l.onArrow(centre + 21));
}

TEST(FormLayout, ResizeWhileCollapsedKeepsTheCollapsedFlag) {
    FormLayout l;
    l.resize(920, 585);
    ASSERT_TRUE(l.dividerClick(716, 309));
    l.resize(1000, 600);
    // The rule always lays out the expanded geometry and leaves the flag and visibility alone.
    EXPECT_TRUE(l.collapsed());
    EXPECT_FALSE(l.rightColumnVisible());
    EXPECT_EQ(l.middleColumn(), QRect(0, 85, 793, 463));
    EXPECT_EQ(l.divider(), QRect(793, 85, 7, 463));
    // The next click on the arrow expands.
    ASSERT_TRUE(l.dividerClick(796, 85 + 463 / 2));
    EXPECT_FALSE(l.collapsed());
    EXPECT_TRUE(l.rightColumnVisible());
}

TEST(FormLayout, MinimumSizeKeepsPanelsPositive) {
    FormLayout l;
    l.resize(FormLayout::kMinWidth, FormLayout::kMinHeight);
    EXPECT_GT(l.middleColumn().width(), 0);
    EXPECT_GT(l.middleColumn().height(), 0);
}

TEST(FormLayout, HeaderButtonsChainFromTheRefreshButton) {
    const FormLayout::HeaderPlaces h = FormLayout::headerPlaces(711);
    EXPECT_EQ(h.refresh, 631);
    EXPECT_EQ(h.sgBtnSet, 631 - 60 - 10);
    EXPECT_EQ(h.sgBtnChart, 561 - 60 - 20);
    EXPECT_EQ(h.RzPanel14, 481 - 120 - 20);
    EXPECT_EQ(h.aySYMTypeBT, 631 - 80 - 20);
    EXPECT_EQ(h.artVideoBtn, 10 + 240 + 20);
}

} // namespace
} // namespace kovan
