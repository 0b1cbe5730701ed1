#include "shell/SectionNavigation.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(SectionNavigation, StartsOnSignals) {
    SectionNavigation n;
    EXPECT_EQ(n.current(), "sg");
    EXPECT_EQ(n.tag("sg"), 2);
    for (const char* k : {"dt", "ay", "pl"})
        EXPECT_EQ(n.tag(k), 0) << k;
}

TEST(SectionNavigation, ClickSelectsAndAsksForASwitch) {
    SectionNavigation n;
    EXPECT_TRUE(n.click("ay"));
    EXPECT_EQ(n.tag("ay"), 2);
    EXPECT_EQ(n.tag("sg"), 0);
    // The click only asks; switchTo does it.
    EXPECT_EQ(n.current(), "sg");
    EXPECT_TRUE(n.switchTo("ay"));
    EXPECT_EQ(n.current(), "ay");
}

TEST(SectionNavigation, ClickingTheSelectedButtonDoesNotSwitch) {
    SectionNavigation n;
    EXPECT_FALSE(n.click("sg"));
    EXPECT_EQ(n.tag("sg"), 2);
    EXPECT_EQ(n.current(), "sg");
}

TEST(SectionNavigation, ClickResetsAHoveredNeighbour) {
    SectionNavigation n;
    ASSERT_TRUE(n.enter("pl"));
    EXPECT_EQ(n.tag("pl"), 1);
    n.click("dt");
    EXPECT_EQ(n.tag("pl"), 0);
    EXPECT_EQ(n.tag("dt"), 2);
}

TEST(SectionNavigation, HoverRules) {
    SectionNavigation n;
    // The selected button ignores the mouse.
    EXPECT_FALSE(n.enter("sg"));
    EXPECT_EQ(n.tag("sg"), 2);
    EXPECT_FALSE(n.leave("sg"));
    EXPECT_EQ(n.tag("sg"), 2);
    // A normal one lights up and goes back.
    EXPECT_TRUE(n.enter("dt"));
    EXPECT_EQ(n.tag("dt"), 1);
    EXPECT_FALSE(n.enter("dt"));
    EXPECT_TRUE(n.leave("dt"));
    EXPECT_EQ(n.tag("dt"), 0);
    EXPECT_FALSE(n.leave("dt"));
}

TEST(SectionNavigation, SwitchLeavesTheHighlightAlone) {
    SectionNavigation n;
    EXPECT_TRUE(n.switchTo("pl"));
    EXPECT_EQ(n.current(), "pl");
    EXPECT_EQ(n.tag("sg"), 2);
    EXPECT_EQ(n.tag("pl"), 0);
}

TEST(SectionNavigation, UnknownKeys) {
    SectionNavigation n;
    EXPECT_FALSE(n.switchTo("xx"));
    EXPECT_FALSE(n.click("rt"));
    EXPECT_EQ(n.current(), "sg");
    EXPECT_EQ(n.tag("sg"), 2);
}

} // namespace
} // namespace kovan
