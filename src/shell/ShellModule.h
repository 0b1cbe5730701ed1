#pragma once

#include "core/AppRunningFlag.h"
#include "core/ClientPart.h"
#include "core/MainWindowControls.h"
#include "core/PageHooks.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SyncTables.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QWidget;

namespace kovan {

class AutostartEntry;
class CloseMessageListener;
class CommandRegistry;
class IRatesTicker;
class Lifecycle;
class SoundAlerts;
class TMainForm;
class TrayPresence;

// The main window as a part of the client: the skinned frame with its chrome, navigation,
// status band and rates ticker, the tray icon and its menu, and the close message that takes
// the tray icon off.
//
// Offers: the window's containers for the web part, the rates ticker for the sync loop. Needs: the
// session (the user label, page addresses), the paths, the sync tables and appRunning (the
// rates ticker), the hooks of MainFormHooks (web views, floating bar and notices, member login,
// the exit procedure), the section views, the sound alerts whose switch the status band shows,
// whether the client was started at login and the command its start-at-login entry runs, the
// desktop notifications switch of the tray menu.
//
// The tray: the icon is made once the desktop has one (TrayPresence); without a tray the window
// minimises to the task bar instead of hiding (TrayPolicy). The tray item "开机启动(&S)" writes
// or removes the user's autostart entry (AutostartEntry).
//
// GUI thread only. Creates the main window (hidden) on construction; the window lives as long
// as the module.
class ShellModule : public ClientPart {
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        const SessionState* session = nullptr;
        const ProgramPaths* paths = nullptr;
        const SharedSyncTables* syncTables = nullptr;
        const AppRunningFlag* appRunning = nullptr;
        MainFormHooks hooks = {};
        // sgWeb, ayWeb, plWeb, dtWeb, rtWeb: placed in their panels and the right column.
        std::array<QWidget*, 5> sectionViews{};
        SoundAlerts* sounds = nullptr;
        // --autostart: the window starts in the tray (minimised without one).
        bool startedAtLogin = false;
        // What the autostart entry runs (AutostartEntry::commandFor) and where it goes (empty:
        // the user's, AutostartEntry::userPath()).
        QStringList autostartCommand = {};
        QString autostartPath = {};
        // "系统通知(&N)": whether notices also go to the desktop's notification service, and
        // the switch; empty: the item shows unchecked and does nothing.
        std::function<bool()> sysNotifyChecked = {};
        std::function<void(bool)> setSysNotify = {};
    };

    ShellModule();
    ~ShellModule();
    ShellModule(const ShellModule&) = delete;
    ShellModule& operator=(const ShellModule&) = delete;

    void setNeeds(Needs needs);
    // switchPae.
    void registerCommands(CommandRegistry& registry) override;
    // Start-up: the user label, the close message, the pictures, the first section, the tray
    // (followed from then on) and its icon. Exit: the tray icon off and the tray no longer
    // followed; the window hidden and its ticker stopped.
    void addSteps(Lifecycle& lifecycle) override;

    TMainForm* form() const { return m_form.get(); }
    QWidget* contentContainer() const; // ConBgPae: the content pane covers the middle column
    QWidget* middleColumn() const;     // bgMPae
    IRatesTicker* ratesTicker() const;

    // After start-up: the window shows; started at login, it goes into the tray (or minimised
    // to the task bar) instead, with the floating bar as on a minimise.
    void show();
    // For a later start of the client that handed over: the main window shown (out of the
    // tray or the task bar), un-minimised, raised and focused, with that start's start-up id.
    void bringToFront(const QByteArray& startupId);
    // Hook for other parts: the main window shown, raised, switched to a section.
    MainWindowControls mainWindowControls() const;

    // Hook for the member part: the member picture (member: LOGO2, Tag 1, deaf to the mouse;
    // guest: LOGO1, Tag 0) and the user label's text.
    void showMemberState(bool member, const QString& userLabel);

private:
    void followTray();

    const SessionState* m_session = nullptr;
    bool m_startedAtLogin = false;
    std::unique_ptr<AutostartEntry> m_autostart;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<TrayPresence> m_trayPresence;
    std::unique_ptr<CloseMessageListener> m_closeMessage; // removes the window's tray icon
};

} // namespace kovan
