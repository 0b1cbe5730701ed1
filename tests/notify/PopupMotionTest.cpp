// The corner pop-up's rules driven tick by tick: slide-in, stay, leave, browsing, dragging.

#include "notify/PopupMotion.h"

#include <gtest/gtest.h>

#include <vector>

namespace kovan {
namespace {

// A 1920 × 1080 work area: the pop-up rests at (1677, 878).
const QRect kWork(0, 0, 1920, 1080);
const QPoint kOutside(5, 5);

// Runs slide-in ticks until the slide-in stops; answers the tops after each tick.
std::vector<int> slideIn(PopupMotion& m) {
    std::vector<int> tops;
    for (int i = 0; i < 100 && m.slideInRunning(); ++i) {
        m.slideInTick();
        tops.push_back(m.pos().y());
    }
    return tops;
}

// Three stay ticks with the cursor away: the leave starts.
void stayOut(PopupMotion& m) {
    for (int i = 0; i < 3; ++i)
        m.stayTick(kOutside);
}

TEST(PopupMotion, FirstNoticeRisesFromBelowTheWorkAreaInGrowingSteps) {
    PopupMotion m;
    m.setWorkArea(kWork);
    EXPECT_EQ(m.showMsg(0, 1), PopupMotion::Shown::Entered);
    EXPECT_TRUE(m.visible());
    EXPECT_EQ(m.pos(), QPoint(1920 - 243, 1081));
    EXPECT_TRUE(m.slideInRunning());
    EXPECT_TRUE(m.stayRunning());
    // Steps 0, 10, 20, 30, 40, 50, then the resting top.
    EXPECT_EQ(slideIn(m), (std::vector<int>{1081, 1071, 1051, 1021, 981, 931, 878}));
    EXPECT_EQ(m.pos(), m.restingPos());
    EXPECT_EQ(m.restingPos(), QPoint(1677, 878));
    EXPECT_EQ(m.slideInCounter(), 7);
}

TEST(PopupMotion, SlideInAfterALeaveStartsWithTenPixels) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    stayOut(m);
    ASSERT_TRUE(m.leaveRunning());
    EXPECT_EQ(m.slideInCounter(), 1);
    while (m.leaveRunning())
        m.leaveTick();
    ASSERT_FALSE(m.visible());
    m.showMsg(-1, 2);
    EXPECT_EQ(m.pos().y(), 1081);
    // Steps 10, 20, 30, 40, 50, 60, then the resting top.
    EXPECT_EQ(slideIn(m), (std::vector<int>{1071, 1051, 1021, 981, 931, 878}));
}

TEST(PopupMotion, SlideInAfterTheCloseButtonKeepsTheCounter) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    m.close();
    EXPECT_FALSE(m.visible());
    EXPECT_FALSE(m.slideInRunning() || m.stayRunning() || m.leaveRunning());
    m.showMsg(0, 1);
    m.slideInTick();
    EXPECT_EQ(m.pos().y(), 1081 - 70);
}

TEST(PopupMotion, WorkAreaOffsetIsHonoured) {
    PopupMotion m;
    m.setWorkArea(QRect(100, 40, 800, 560)); // a panel above and left of the work area
    m.showMsg(0, 1);
    EXPECT_EQ(m.pos(), QPoint(900 - 243, 601));
    slideIn(m);
    EXPECT_EQ(m.pos(), QPoint(657, 600 - 202));
}

TEST(PopupMotion, StayCountsOnlyTicksWithTheCursorOutside) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    const QPoint inside = m.rect().center();
    const QPoint onEdge = m.rect().topLeft(); // not strictly inside
    for (int i = 0; i < 10; ++i)
        m.stayTick(inside);
    EXPECT_EQ(m.stayCounter(), 0);
    EXPECT_TRUE(m.stayRunning());
    m.stayTick(onEdge);
    m.stayTick(kOutside);
    EXPECT_EQ(m.stayCounter(), 2);
    EXPECT_FALSE(m.leaveRunning());
    m.stayTick(inside);
    EXPECT_FALSE(m.leaveRunning());
    m.stayTick(kOutside);
    EXPECT_TRUE(m.leaveRunning());
    EXPECT_FALSE(m.stayRunning());
    EXPECT_EQ(m.stayCounter(), 0);
}

TEST(PopupMotion, LeaveSlidesDownTwentyStepsOfTenPixelsThenHides) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    stayOut(m);
    std::vector<int> tops;
    while (m.leaveRunning()) {
        m.leaveTick();
        if (m.visible())
            tops.push_back(m.pos().y());
    }
    ASSERT_EQ(tops.size(), 20u);
    for (size_t i = 0; i < tops.size(); ++i)
        EXPECT_EQ(tops[i], 878 + 10 * int(i + 1));
    EXPECT_FALSE(m.visible());
}

TEST(PopupMotion, LeaveWaitsWhileTheSlideInRuns) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    m.slideInTick();
    m.slideInTick();
    const QPoint before = m.pos();
    // A stay that ends early (three ticks faster than the rise) must not fight the rise.
    stayOut(m);
    ASSERT_TRUE(m.leaveRunning());
    m.leaveTick();
    EXPECT_EQ(m.pos(), before);
    EXPECT_TRUE(m.visible());
}

TEST(PopupMotion, DraggedAwayWindowIsHiddenAtTheFirstLeaveTick) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    const QPoint grab = m.rect().center();
    m.mousePress(grab);
    ASSERT_TRUE(m.dragging());
    m.mouseMove(grab + QPoint(-300, -200));
    m.mouseMove(grab + QPoint(-400, -250));
    m.mouseRelease();
    EXPECT_EQ(m.pos(), m.restingPos() + QPoint(-400, -250));
    stayOut(m);
    m.leaveTick();
    EXPECT_FALSE(m.visible());
    EXPECT_FALSE(m.leaveRunning());
}

TEST(PopupMotion, DraggingIsRefusedWhileSlidingInOrLeavingOrOutside) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    m.slideInTick();
    m.mousePress(m.rect().center());
    EXPECT_FALSE(m.dragging());
    slideIn(m);
    m.mousePress(m.rect().topLeft()); // on the edge: not strictly inside
    EXPECT_FALSE(m.dragging());
    stayOut(m);
    m.leaveTick();
    const QPoint before = m.pos();
    m.mousePress(m.rect().center());
    EXPECT_FALSE(m.dragging());
    m.mouseMove(m.rect().center() + QPoint(50, 50));
    EXPECT_EQ(m.pos(), before);
}

TEST(PopupMotion, NewNoticeDuringTheLeaveStopsItWhereTheWindowStands) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    slideIn(m);
    stayOut(m);
    for (int i = 0; i < 5; ++i)
        m.leaveTick();
    const QPoint lowered = m.pos();
    ASSERT_EQ(lowered.y(), 928);
    EXPECT_EQ(m.showMsg(1, 2), PopupMotion::Shown::Updated);
    EXPECT_FALSE(m.leaveRunning());
    EXPECT_FALSE(m.slideInRunning());
    EXPECT_TRUE(m.stayRunning());
    EXPECT_EQ(m.pos(), lowered);
    EXPECT_EQ(m.index(), 1);
    // After the stay it leaves again from where it stands.
    stayOut(m);
    m.leaveTick();
    EXPECT_EQ(m.pos().y(), 938);
}

TEST(PopupMotion, BrowsingButtonsForOneTwoAndThreeNotices) {
    using B = PopupMotion::Buttons;
    const struct {
        int index, count;
        B buttons;
    } cases[] = {
        {0, 1, {false, false, 38, 49}},  {0, 2, {false, true, 38, 49}},
        {1, 2, {true, false, 105, 116}}, // the lone "上一个" moves to the "下一个" place
        {0, 3, {false, true, 38, 49}},   {1, 3, {true, true, 38, 49}},
        {2, 3, {true, false, 105, 116}},
    };
    for (const auto& c : cases) {
        PopupMotion m;
        m.showMsg(c.index, c.count);
        EXPECT_EQ(m.buttons(), c.buttons) << c.index << " of " << c.count;
        EXPECT_EQ(m.previousIndex(), c.index > 0 ? c.index - 1 : -1);
        EXPECT_EQ(m.nextIndex(c.count), c.index < c.count - 1 ? c.index + 1 : -1);
    }
}

TEST(PopupMotion, BrowsingRestartsTheStayAndKeepsThePlace) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(2, 3);
    slideIn(m);
    m.stayTick(kOutside);
    m.stayTick(kOutside);
    ASSERT_EQ(m.stayCounter(), 2);
    EXPECT_EQ(m.showMsg(m.previousIndex(), 3), PopupMotion::Shown::Updated);
    EXPECT_EQ(m.index(), 1);
    EXPECT_EQ(m.stayCounter(), 0);
    EXPECT_EQ(m.pos(), m.restingPos());
}

TEST(PopupMotion, IndexOutOfRangeHidesWithEveryTimerOff) {
    for (const auto& [index, count] : {std::pair{5, 3}, {-2, 3}, {-1, 0}, {0, 0}}) {
        PopupMotion m;
        m.showMsg(0, 1);
        EXPECT_EQ(m.showMsg(index, count), PopupMotion::Shown::Hidden);
        EXPECT_FALSE(m.visible());
        EXPECT_FALSE(m.slideInRunning() || m.stayRunning() || m.leaveRunning());
    }
}

TEST(PopupMotion, ViewStartsTheLeave) {
    PopupMotion m;
    m.setWorkArea(kWork);
    m.showMsg(0, 1);
    m.slideInTick();
    m.startLeave();
    EXPECT_FALSE(m.slideInRunning());
    EXPECT_FALSE(m.stayRunning());
    EXPECT_TRUE(m.leaveRunning());
    EXPECT_EQ(m.slideInCounter(), 1);
    // Barely risen, its top is below the work area's bottom: the first leave tick hides it.
    m.leaveTick();
    EXPECT_FALSE(m.visible());
}

} // namespace
} // namespace kovan
