// The corner pop-up window bound to its rules: shown in the work area's corner, timers only
// while their phase runs, buttons, actions, shape.

#include "notify/TrbMsgForm.h"
#include "notify/NoticeList.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace kovan {
namespace {

class TrbMsgFormTest : public ::testing::Test {
protected:
    TrbMsgFormTest() : form(notices) {
        form.setWorkAreaSource([] { return QRect(0, 0, 1920, 1080); });
        form.setActionTargets(
            {[this](const QString& t, const QString& p, int, const QString&) {
                 calls << "page|" + t + "|" + p;
             },
             [this] { calls << "raise"; },
             [this](const QUrl& u) { calls << "open|" + u.toString(); },
             [this](const QString&, const QString& u) { calls << "video|" + u; }});
    }
    void add(const char* title, const char* viewAct = "", const char* viparam = "") {
        notices.append(
            rbMsgRecord::make(title, QStringLiteral("内容 ") + title, viewAct, "详情", viparam, 0));
    }
    QWidget* child(const char* name) { return form.findChild<QWidget*>(name); }
    bool timersOff() const {
        return !form.timer1().isActive() && !form.timer2().isActive() && !form.timer3().isActive();
    }

    NoticeList notices;
    TrbMsgForm form;
    QStringList calls;
};

TEST_F(TrbMsgFormTest, IsASmallBorderlessToolWindowWithARoundedShape) {
    EXPECT_EQ(form.size(), QSize(243, 202));
    EXPECT_TRUE(form.windowFlags() & Qt::Tool);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    const QRegion shape = form.mask();
    EXPECT_TRUE(shape.contains(QPoint(120, 100)));
    EXPECT_TRUE(shape.contains(QPoint(3, 100)));
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(1, 1)));     // the rounded corner
    EXPECT_FALSE(shape.contains(QPoint(241, 100))); // right edge (width − 2) is outside
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(timersOff());
}

TEST_F(TrbMsgFormTest, NoticeSlidesInAndRestsInTheCorner) {
    add("第一条");
    form.showMsg(0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.pos(), QPoint(1677, 1081));
    EXPECT_EQ(form.msgTitle()->text(), "第一条");
    EXPECT_EQ(form.msgInfo()->text(), "内容 第一条");
    EXPECT_TRUE(form.timer1().isActive());
    EXPECT_TRUE(form.timer2().isActive());
    EXPECT_EQ(form.timer1().interval(), 100);
    EXPECT_EQ(form.timer2().interval(), 10000);
    while (form.timer1().isActive())
        form.Timer1Timer();
    EXPECT_EQ(form.pos(), QPoint(1677, 878));
    EXPECT_FALSE(form.timer3().isActive());
    // Three stay ticks with the cursor away: the leave runs, then the window hides.
    for (int i = 0; i < 3; ++i)
        form.Timer2Timer(QPoint(0, 0));
    EXPECT_FALSE(form.timer2().isActive());
    EXPECT_TRUE(form.timer3().isActive());
    EXPECT_EQ(form.timer3().interval(), 100);
    for (int i = 0; i < 25 && form.timer3().isActive(); ++i)
        form.Timer3Timer();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(timersOff());
}

TEST_F(TrbMsgFormTest, BrowsingShowsAndMovesTheButtons) {
    add("一");
    add("二");
    add("三");
    form.showMsg(-1);
    EXPECT_EQ(form.msgTitle()->text(), "三");
    EXPECT_FALSE(child("nextbtimg")->isVisibleTo(&form));
    EXPECT_FALSE(child("nextbttxt")->isVisibleTo(&form));
    EXPECT_TRUE(child("lastbtimg")->isVisibleTo(&form));
    EXPECT_EQ(child("lastbtimg")->x(), 105);
    EXPECT_EQ(child("lastbttxt")->x(), 116);
    form.lastbtimgClick();
    EXPECT_EQ(form.msgTitle()->text(), "二");
    EXPECT_TRUE(child("nextbtimg")->isVisibleTo(&form));
    EXPECT_EQ(child("lastbtimg")->x(), 38);
    EXPECT_EQ(child("lastbttxt")->x(), 49);
    form.lastbtimgClick();
    EXPECT_EQ(form.msgTitle()->text(), "一");
    EXPECT_FALSE(child("lastbtimg")->isVisibleTo(&form));
    form.lastbtimgClick(); // nothing before the first
    EXPECT_EQ(form.motion().index(), 0);
    form.nextbttxtClick();
    EXPECT_EQ(form.msgTitle()->text(), "二");
}

TEST_F(TrbMsgFormTest, ViewRunsTheActionAndLeaves) {
    add("a", "openurl", "file:///etc/passwd");
    add("b", "openurl", "https://example.test/x");
    add("c", "viewinfo", "signinfo/S/1");
    form.showMsg(0);
    form.Label2Click();
    EXPECT_TRUE(calls.isEmpty()); // a local file is never opened
    EXPECT_TRUE(form.timer3().isActive());
    EXPECT_FALSE(form.timer1().isActive() || form.timer2().isActive());
    form.showMsg(1);
    form.Label2Click();
    form.showMsg(2);
    form.Label2Click();
    EXPECT_EQ(calls,
              (QStringList{"open|https://example.test/x", "page|详情|signinfo/S/1", "raise"}));
}

TEST_F(TrbMsgFormTest, CloseAndHideStopEveryTimer) {
    add("a");
    form.showMsg(0);
    form.Image2Click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(timersOff());
    form.showMsg(0);
    form.hide(); // from outside
    EXPECT_TRUE(timersOff());
    EXPECT_FALSE(form.motion().visible());
    // Shown again it slides in from below once more.
    form.showMsg(0);
    EXPECT_EQ(form.pos().y(), 1081);
}

TEST_F(TrbMsgFormTest, ShowNewestDoesNothingWithoutNotices) {
    form.showNewest();
    EXPECT_FALSE(form.isVisible());
    add("x");
    add("y");
    form.showNewest();
    EXPECT_EQ(form.msgTitle()->text(), "y");
}

TEST_F(TrbMsgFormTest, OutOfRangeIndexHides) {
    add("a");
    form.showMsg(0);
    form.showMsg(3);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(timersOff());
}

} // namespace
} // namespace kovan

namespace kovan {
namespace {

// A left-button drag of the window by `by`, as the window system delivers it.
void dragBy(QWidget& window, const QPoint& by) {
    const QPoint inside(100, 10);
    const QPoint from = window.mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(inside), QPointF(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(inside + by), QPointF(from + by), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(inside + by), QPointF(from + by),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
}

TEST(TrbMsgFormPlacement, PlacesItselfOutsideTheWindowManagerAndIsDraggedByItsRules) {
    NoticeList notices;
    notices.append(rbMsgRecord::make("一", "", "", "", "", 0));
    TrbMsgForm form(notices);
    form.setWorkAreaSource([] { return QRect(0, 0, 1920, 1080); });
    EXPECT_TRUE(form.windowFlags() & Qt::BypassWindowManagerHint);
    form.setPlacesItself(true);
    EXPECT_TRUE(form.windowFlags() & Qt::BypassWindowManagerHint);
    form.showMsg(0);
    while (form.motion().slideInRunning())
        form.Timer1Timer();
    const QPoint rests = form.pos();
    dragBy(form, QPoint(-30, -40));
    EXPECT_EQ(form.pos(), rests + QPoint(-30, -40));
}

TEST(TrbMsgFormPlacement, WhereTheCompositorPlacesWindowsItIsAnOrdinaryWindowItMoves) {
    NoticeList notices;
    notices.append(rbMsgRecord::make("一", "", "", "", "", 0));
    TrbMsgForm form(notices);
    form.setWorkAreaSource([] { return QRect(0, 0, 1920, 1080); });
    form.setPlacesItself(false);
    EXPECT_FALSE(form.windowFlags() & Qt::BypassWindowManagerHint);
    EXPECT_TRUE(form.windowFlags() & Qt::Tool);
    form.showMsg(0);
    while (form.motion().slideInRunning())
        form.Timer1Timer();
    const QPoint rests = form.pos();
    // The press hands the drag to the compositor; the rules never move the window.
    dragBy(form, QPoint(-30, -40));
    EXPECT_EQ(form.pos(), rests);
    EXPECT_FALSE(form.motion().dragging());
}

} // namespace
} // namespace kovan
