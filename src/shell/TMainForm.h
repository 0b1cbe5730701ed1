#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QLocalServer;
class QMenu;
class QSystemTrayIcon;
class QAction;

namespace kovan {

class TtopFloatForm;
class TrbMsgForm;

// The main window: a borderless, skinned frame with the section pages, the right column, the
// status and ticker bands and the content pane. It owns the tray icon and runs the exit
// procedure. GUI thread only.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The user label in the title bar ("    访客    " until a session is known).
    QLabel* topUNLab() const { return m_topUNLab; }

    // Containers the other parts of the window fill.
    QWidget* bgMPae() const { return m_bgMPae; }     // middle column (section panels)
    QWidget* bgRPae() const { return m_bgRPae; }     // right column (rtWeb)
    QWidget* ConBgPae() const { return m_ConBgPae; } // content pane, covers the middle column

    // Tray icon. Without a system tray (e.g. a bare X server) the icon simply is not shown; the
    // client runs on without one.
    void addTrayIcon();
    void removeTrayIcon();
    bool trayIconAdded() const { return m_trayAdded; }

    // Listens on the local socket "wm_closecoear": a peer writing that line makes the window
    // remove its tray icon and nothing else.
    void registerCloseMessage();

    // Windows created after this one; the tray menu and the exit procedure act on them.
    void setSecondaryWindows(TtopFloatForm* floatBar, TrbMsgForm* popup);

    // Hooks for the parts that plug into the exit procedure: stopping the sync worker (returns
    // whether a worker still exists), stopping the rates ticker.
    std::function<bool()> syncWorkerRunning;
    std::function<void()> stopRatesTicker;

    // The exit procedure: tray icon off, appRunning cleared, windows hidden, workers stopped,
    // wait (handling events) until the sync worker has ended, then the application ends.
    void exitProcedure();

    // Brings the window up (tray icon left button).
    void bringToFront();

protected:
    void resizeEvent(QResizeEvent* event) override;

Q_SIGNALS:
    void resized();

private:
    void buildTrayMenu();
    void PopupMenu1Popup();
    void N5Click();
    void N9Click();
    void H1Click();
    void N10Click();
    void N8Click();

    QLabel* m_topUNLab = nullptr;
    QWidget* m_bgMPae = nullptr;
    QWidget* m_bgRPae = nullptr;
    QWidget* m_ConBgPae = nullptr;

    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_N5 = nullptr;
    bool m_trayAdded = false;
    QLocalServer* m_closeServer = nullptr;

    QPointer<TtopFloatForm> m_floatBar;
    QPointer<TrbMsgForm> m_popup;
    bool m_exiting = false;
};

} // namespace kovan
