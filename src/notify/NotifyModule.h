#pragma once

#include "core/PageHooks.h"

#include "core/ClientPart.h"
#include "core/MainWindowControls.h"
#include "core/NewsList.h"
#include "core/OnFirstUse.h"
#include "core/ProgramPaths.h"
#include "core/RealtimeSignals.h"
#include "core/SessionPlatform.h"
#include "core/SessionState.h"
#include "notify/NoticeActions.h"

#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

namespace kovan {

class CommandRegistry;
class DesktopNotices;
class Lifecycle;
class NoticeList;
class NoticeSender;
class SettingsStore;
class SoundAlerts;
class TrbMsgForm;
class TtopFloatForm;

// Signals and notifications: the notice list with its corner pop-up, the floating bar with its
// news ticker and instant-trade strip, the sound alerts with the speaker switch, and the page
// commands that feed them (tipwindow, addfloatmsg, realsign, playaudio, audioPlay), and the
// notices the client raises itself (price alerts).
//
// Offers: the floating bar and newest-notice hooks of the main window's tray menu and
// minimise/close rules; the sound alerts (the status band shows their switch), once the needs
// are set. Needs: the session (its id goes into the bar's page addresses), the news list and
// the real-time signals, the paths (the sound folder, the page server the sounds come from),
// the content pane (notices and news open service pages there), the main window (shown,
// raised, switched to a section), the video window and the chart windows.
//
// The floating bar and the pop-up are built when first needed, or kBuildWindowsDelayMs after
// the start-up steps have started the workers, whichever comes first: neither shows at start,
// and building them (skin pictures, text metrics) would otherwise hold up the first pages.
//
// Every notice (a page's tipwindow, the client's own) slides into the corner pop-up where
// windows place themselves, and also goes to the desktop's notification service while the
// member has that on (sysnotify in config.dat; the tray menu's "系统通知(&N)"). Where windows
// cannot place themselves (native Wayland) the pop-up does not slide in by itself: the desktop
// shows the notices, and "提醒事件" opens the pop-up as an ordinary window to browse them.
//
// Exit: the floating bar is hidden and the pop-up closed when showing. GUI thread only.
class NotifyModule : public ClientPart {
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        const SessionState* session = nullptr;
        NewsList* news = nullptr;
        RealtimeSignals* realtimeSignals = nullptr;
        const ProgramPaths* paths = nullptr;
        // Opens a page-server page "/tools/" + params in the content pane.
        ShowOptPage showoptPage = {};
        // Downloads and plays a video in the video window.
        std::function<void(const QString& title, const QString& url)> playVideo = {};
        // The main window: whether it shows, shown, raised, switched to a section.
        MainWindowControls mainWindow = {};
        // Opens an http(s) address in the system's web browser (default: QDesktopServices).
        std::function<void(const QUrl& url)> openExternal = {};
        // Opens a chart of a synced symbol in period H1 through the chart terms ("查看" on a
        // notice of the client's own price alerts).
        std::function<void(const QString& symbol)> openSymbolChart = {};
        // config.dat (sysnotify), required; saved when the member toggles the setting.
        SettingsStore* settings = nullptr;
        // What the platform lets windows do; null: they place themselves.
        const DesktopSession* desktop = nullptr;
        // Where desktop notifications go, made for the first one that goes out (default: the
        // session bus's notification service).
        std::function<std::unique_ptr<NoticeSender>()> makeNoticeSender = {};
    };

    NotifyModule();
    ~NotifyModule();
    NotifyModule(const NotifyModule&) = delete;
    NotifyModule& operator=(const NotifyModule&) = delete;

    // Once, before anything else is asked of the module: makes the sound alerts.
    void setNeeds(Needs needs);
    // audioPlay, and through registerNotifyCommands tipwindow, addfloatmsg, realsign and
    // playaudio.
    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // Hooks of the main window.
    bool floatBarShowing() const;
    void showFloatBar(bool bringToFront);
    void showNewestNotice();

    // Hooks of the client's own notices (price alerts): a notice appended and shown in the
    // corner pop-up like a page's, without a sound; the notices' default sound, when the
    // speaker switch is on.
    void raiseNotice(const QString& title, const QString& content, const QString& viewAct,
                     const QString& viparam);
    void playNoticeSound();

    // The tray menu's "系统通知(&N)": whether notices also go to the desktop's notification
    // service; toggled, it is kept in config.dat at once.
    bool sysNotifyOn() const;
    void setSysNotify(bool on);
    const DesktopNotices& desktopNotices() const { return *m_desktopNotices; }

    static constexpr int kBuildWindowsDelayMs = 2000;
    void setBuildWindowsDelayMs(int ms) { m_buildTimer.setInterval(ms); }

    SoundAlerts* sounds() const { return m_sounds.get(); }
    // The windows, built on first use.
    TtopFloatForm* floatBar();
    TrbMsgForm* popup();
    bool windowsBuilt() const;
    const NoticeList& notices() const { return *m_notices; }

private:
    // A notice appended at `index`: the pop-up, the desktop notification.
    void noticeArrived(int index);
    bool windowsPlaceThemselves() const;
    NoticeActionTargets actionTargets() const;
    void applyPopupTargets(TrbMsgForm& popup);
    void applyFloatBarTargets(TtopFloatForm& bar);

    Needs m_needs;
    std::unique_ptr<NoticeList> m_notices;
    std::unique_ptr<SoundAlerts> m_sounds;
    std::unique_ptr<NoticeSender> m_noticeSender;     // made on first use
    std::unique_ptr<DesktopNotices> m_desktopNotices; // destroyed before the sender
    OnFirstUse<TtopFloatForm> m_floatBar;
    OnFirstUse<TrbMsgForm> m_popup;
    QTimer m_buildTimer; // the deferred build after start-up
};

} // namespace kovan
