// The tray icon's menu on a bare window: its items in order and the first item's caption. What
// the items reach in the main window: MainFormTest.

#include "shell/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

namespace kovan {
namespace {

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconTest() : tray(&window, {}) {}
    QAction* item(const char* name) const {
        return tray.trayMenu()->findChild<QAction*>(QString::fromLatin1(name));
    }

    QWidget window;
    TrayIcon tray;
};

TEST_F(TrayIconTest, MenuItemsInOrder) {
    QStringList items;
    for (QAction* a : tray.trayMenu()->actions())
        items << a->objectName() + u' ' + a->text();
    EXPECT_EQ(items,
              (QStringList{"N5 隐藏(&H)", "N9 浮窗(&F)", "H1 提醒事件(&H)", "N10 会员中心(&M)",
                           "PriceAlertsItem 价格提醒(&P)", "N8 退出(&X)"}));
    EXPECT_EQ(tray.trayMenu()->objectName(), "PopupMenu1");
}

TEST_F(TrayIconTest, FirstItemFollowsVisibility) {
    QAction* n5 = item("N5");
    ASSERT_NE(n5, nullptr);
    window.show();
    tray.PopupMenu1Popup();
    EXPECT_EQ(n5->text(), "隐藏(&H)");
    window.hide();
    tray.PopupMenu1Popup();
    EXPECT_EQ(n5->text(), "显示(&S)");
}

} // namespace
} // namespace kovan
