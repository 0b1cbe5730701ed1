#include "shell/CaptionButtons.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(CaptionButtons, StartsNormalWithPictures013) {
    CaptionButtons c;
    EXPECT_EQ(c.maxTag(), 0);
    EXPECT_EQ(c.maxImage(), 3);
    EXPECT_EQ(c.minImage(), 1);
    EXPECT_EQ(CaptionButtons::kClose, 0);
}

TEST(CaptionButtons, MaximiseThenRestoreReturnsFormerBounds) {
    CaptionButtons c;
    const QRect normal(500, 247, 920, 585);
    const QRect screen(0, 0, 1920, 1080);
    const QRect work(0, 0, 1920, 1040); // a task bar at the bottom
    const QRect maxed = c.toggle(normal, screen, work);
    EXPECT_EQ(maxed, QRect(0, 0, 1920, 1040));
    EXPECT_EQ(c.maxTag(), 1);
    EXPECT_EQ(c.maxImage(), 5);
    c.maxEnter();
    EXPECT_EQ(c.maxImage(), 6);
    c.maxLeave();
    EXPECT_EQ(c.maxImage(), 5);

    EXPECT_EQ(c.toggle(maxed, screen, work), normal);
    EXPECT_EQ(c.maxTag(), 0);
    EXPECT_EQ(c.maxImage(), 3);
    c.maxLeave();
    EXPECT_EQ(c.maxImage(), 3);
    c.maxEnter();
    EXPECT_EQ(c.maxImage(), 4);
}

TEST(CaptionButtons, MaximisedWidthIsTheScreensAndHeightTheWorkAreas) {
    CaptionButtons c;
    // Second screen to the right, task bar on the left of the work area.
    const QRect maxed =
        c.toggle({2000, 100, 920, 585}, {1920, 0, 1280, 1024}, {1980, 0, 1220, 1000});
    EXPECT_EQ(maxed, QRect(1920, 0, 1280, 1000));
}

TEST(CaptionButtons, MinimiseHover) {
    CaptionButtons c;
    c.minEnter();
    EXPECT_EQ(c.minImage(), 2);
    c.minLeave();
    EXPECT_EQ(c.minImage(), 1);
}

} // namespace
} // namespace kovan
