#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace kovan {

// The main window's tray icon and its menu PopupMenu1: "隐藏(&H)" / "显示(&S)", "浮窗(&F)",
// "提醒事件(&H)", "会员中心(&M)", "价格提醒(&P)", "退出(&X)". The first item shows and hides the
// window itself; the icon's left click and the other items report through Actions. How the icon
// reaches the desktop's tray is this class's business alone: the window only adds and removes it.
// Without a system tray (a bare X server) the icon simply is not shown and the client runs on.
//
// GUI thread only. The menu is a child of the window, the icon a child of this object.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // What the icon and the menu items reach; any may be empty.
    struct Actions {
        std::function<void()> bringToFront;  // left click on the icon
        std::function<void()> floatBar;      // N9 "浮窗(&F)"
        std::function<void()> newestNotice;  // H1 "提醒事件(&H)"
        std::function<void()> memberCentre;  // N10 "会员中心(&M)", after the window shows
        std::function<void()> priceAlerts;   // "价格提醒(&P)": the price alerts window
        std::function<void()> exitProcedure; // N8 "退出(&X)"
    };

    // `window`: the main window the first item toggles and whose icon the tray shows.
    TrayIcon(QWidget* window, Actions actions, QObject* parent = nullptr);

    // The icon on (with the window's present icon) / off; each traces what it did.
    void addTrayIcon();
    void removeTrayIcon();
    bool trayIconAdded() const { return m_trayAdded; }

    QMenu* trayMenu() const { return m_trayMenu; }
    // The menu about to show: the first item says what it will do to the window.
    void PopupMenu1Popup();

    // The menu items' handlers.
    void N5Click();              // "隐藏(&H)" / "显示(&S)": toggles the window
    void N9Click();              // "浮窗(&F)": the floating bar
    void H1Click();              // "提醒事件(&H)": the newest notice
    void N10Click();             // "会员中心(&M)": the window, then the member centre page
    void PriceAlertsItemClick(); // "价格提醒(&P)": the price alerts window
    void N8Click();              // "退出(&X)": the exit procedure

private:
    void buildTrayMenu();

    QWidget* m_window;
    Actions m_actions;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_N5 = nullptr;
    bool m_trayAdded = false;
};

} // namespace kovan
