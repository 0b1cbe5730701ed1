#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace kovan {

// The main window's tray icon and its menu PopupMenu1: "隐藏(&H)" / "显示(&S)", "浮窗(&F)",
// "提醒事件(&H)", "会员中心(&M)", "价格提醒(&P)", the check items "系统通知(&N)" and
// "开机启动(&S)", "退出(&X)". The first item shows and hides the window itself; the icon's left
// click and the other items report through Actions. The check items read their state through
// Actions each time the menu opens.
//
// The icon is wanted from start-up (addTrayIcon) and shown once the desktop has a tray
// (setTrayAvailable): the QSystemTrayIcon is made only then, since Qt chooses between
// StatusNotifierItem over D-Bus and XEmbed once per process, at the first tray call. A tray that
// comes later gets the icon then; one that goes takes it along.
//
// GUI thread only. The menu is a child of the window, the icon a child of this object.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // What the icon and the menu items reach; any may be empty (a check item then shows
    // unchecked and does nothing).
    struct Actions {
        std::function<void()> bringToFront;  // left click on the icon
        std::function<void()> floatBar;      // N9 "浮窗(&F)"
        std::function<void()> newestNotice;  // H1 "提醒事件(&H)"
        std::function<void()> memberCentre;  // N10 "会员中心(&M)", after the window shows
        std::function<void()> priceAlerts;   // "价格提醒(&P)": the price alerts window
        std::function<void()> exitProcedure; // N8 "退出(&X)"
        // "系统通知(&N)": notices also go to the desktop's notification service.
        std::function<bool()> sysNotifyChecked = {};
        std::function<void(bool)> setSysNotify = {};
        // "开机启动(&S)": the start-at-login entry exists; written or removed.
        std::function<bool()> autostartChecked = {};
        std::function<void(bool)> setAutostart = {};
    };

    // `window`: the main window the first item toggles and whose icon the tray shows.
    TrayIcon(QWidget* window, Actions actions, QObject* parent = nullptr);

    // Filled in while the program is wired, like the constructor's.
    Actions& actions() { return m_actions; }

    // The icon wanted (with the window's present icon) / not; each traces what it did.
    void addTrayIcon();
    void removeTrayIcon();
    bool trayIconAdded() const { return m_trayAdded; }
    // Whether the desktop has a tray now; the icon shows while it is wanted and a tray exists.
    void setTrayAvailable(bool available);
    bool iconShown() const;

    QMenu* trayMenu() const { return m_trayMenu; }
    // The menu about to show: the first item says what it will do to the window, the check
    // items show their state.
    void PopupMenu1Popup();

    // The menu items' handlers.
    void N5Click();              // "隐藏(&H)" / "显示(&S)": toggles the window
    void N9Click();              // "浮窗(&F)": the floating bar
    void H1Click();              // "提醒事件(&H)": the newest notice
    void N10Click();             // "会员中心(&M)": the window, then the member centre page
    void PriceAlertsItemClick(); // "价格提醒(&P)": the price alerts window
    void SysNotifyItemClick(bool checked);
    void AutostartItemClick(bool checked);
    void N8Click(); // "退出(&X)": the exit procedure

private:
    void buildTrayMenu();
    void updateIcon();
    void makeIcon();

    QWidget* m_window;
    Actions m_actions;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_N5 = nullptr;
    QAction* m_sysNotify = nullptr;
    QAction* m_autostart = nullptr;
    bool m_trayAdded = false;
    bool m_trayAvailable = false;
};

} // namespace kovan
