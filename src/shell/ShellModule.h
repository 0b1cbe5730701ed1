#pragma once

#include "core/AppRunningFlag.h"
#include "core/ClientPart.h"
#include "core/MainWindowControls.h"
#include "core/PageHooks.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SyncTables.h"

#include <QByteArray>

#include <array>
#include <memory>

class QWidget;

namespace kovan {

class CloseMessageListener;
class CommandRegistry;
class IRatesTicker;
class Lifecycle;
class SoundAlerts;
class TMainForm;

// The main window as a part of the client: the skinned frame with its chrome, navigation,
// status band and rates ticker, the tray icon and its menu, and the close message that takes
// the tray icon off.
//
// Offers: the window's containers for the web part, the rates ticker for the sync loop. Needs: the
// session (the user label, page addresses), the paths, the sync tables and appRunning (the
// rates ticker), the hooks of MainFormHooks (web views, floating bar and notices, member login,
// the exit procedure), the section views, the sound alerts whose switch the status band shows.
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
    };

    ShellModule();
    ~ShellModule();
    ShellModule(const ShellModule&) = delete;
    ShellModule& operator=(const ShellModule&) = delete;

    void setNeeds(Needs needs);
    // switchPae.
    void registerCommands(CommandRegistry& registry) override;
    // Start-up: the user label, the close message, the pictures, the first section, the tray
    // icon. Exit: the tray icon off; the window hidden and its ticker stopped.
    void addSteps(Lifecycle& lifecycle) override;

    TMainForm* form() const { return m_form.get(); }
    QWidget* contentContainer() const; // ConBgPae: the content pane covers the middle column
    QWidget* middleColumn() const;     // bgMPae
    IRatesTicker* ratesTicker() const;

    // After start-up: the window shows.
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
    const SessionState* m_session = nullptr;
    std::unique_ptr<TMainForm> m_form;
    std::unique_ptr<CloseMessageListener> m_closeMessage; // removes the window's tray icon
};

} // namespace kovan
