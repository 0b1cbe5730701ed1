// The tray icon's menu on a bare window: its items in order and the first item's caption. What
// the items reach in the main window: MainFormTest.

#include "shell/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

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
                           "PriceAlertsItem 价格提醒(&P)", "SysNotifyItem 系统通知(&N)",
                           "AutostartItem 开机启动(&S)", "N8 退出(&X)"}));
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

// Both check items: unchecked and inert without an owner; with one, the check follows the
// owner's state when the menu opens and after a click (a switch that fails stays unchecked).
TEST_F(TrayIconTest, CheckItemsShowTheirOwnersState) {
    struct Item {
        const char* name;
        std::function<bool()> TrayIcon::Actions::*checked;
        std::function<void(bool)> TrayIcon::Actions::*set;
    };
    for (const Item& i : {Item{"SysNotifyItem", &TrayIcon::Actions::sysNotifyChecked,
                               &TrayIcon::Actions::setSysNotify},
                          Item{"AutostartItem", &TrayIcon::Actions::autostartChecked,
                               &TrayIcon::Actions::setAutostart}}) {
        QAction* a = item(i.name);
        ASSERT_NE(a, nullptr) << i.name;
        EXPECT_TRUE(a->isCheckable());
        a->trigger(); // no owner: nothing happens
        EXPECT_FALSE(a->isChecked()) << i.name;

        bool on = true, refuse = false;
        QList<bool> asked;
        tray.actions().*i.checked = [&] { return on; };
        tray.actions().*i.set = [&](bool v) {
            asked << v;
            if (!refuse)
                on = v;
        };
        tray.PopupMenu1Popup();
        EXPECT_TRUE(a->isChecked()) << i.name;
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << i.name;
        refuse = true;
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << i.name << ": refused";
        EXPECT_EQ(asked, (QList<bool>{false, true})) << i.name;
        on = true; // changed elsewhere (the entry written by hand): read when the menu opens
        tray.PopupMenu1Popup();
        EXPECT_TRUE(a->isChecked()) << i.name;
    }
}

// The icon is made only once a tray is known, and follows the tray from then on.
TEST_F(TrayIconTest, IconWaitsForATray) {
    tray.addTrayIcon();
    EXPECT_TRUE(tray.trayIconAdded());
    EXPECT_EQ(tray.findChild<QSystemTrayIcon*>(), nullptr) << "no tray call before a tray exists";
    tray.setTrayAvailable(true);
    ASSERT_NE(tray.findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_TRUE(tray.findChild<QSystemTrayIcon*>()->isVisible());
    tray.setTrayAvailable(false);
    EXPECT_FALSE(tray.iconShown());
    tray.setTrayAvailable(true);
    EXPECT_TRUE(tray.iconShown());
    tray.removeTrayIcon();
    EXPECT_FALSE(tray.iconShown());
}

} // namespace
} // namespace kovan
