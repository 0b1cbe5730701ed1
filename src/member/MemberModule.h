#pragma once

#include "core/AppRunningFlag.h"
#include "core/ClientPart.h"
#include "core/OnFirstUse.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SettingsStore.h"
#include "member/MemberSession.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QUrl;

namespace kovan {

class CommandRegistry;
class Lifecycle;
class Tauform;

// Member sign-in and sign-out: the login dialog, the automatic login at start-up, logout, the
// forced logout, and the links to the web site's member pages.
//
// Offers: the member picture's click (logIMGClick) and the page-reachable methods
// loginLabelClick, lgoutlabClick, utypelabClick, regLabelClick, logIMGClick and the command
// forcelogout (registerCommands). Needs: the session, the settings (the remembered login,
// AUTHKEY), the endpoints (the data server, the web site), appRunning, the main window's
// member picture and user label, the section pages' forceReload, the exit procedure, and a way
// to open an address in the system's browser. Start-up: the automatic login from the remembered
// account (AUTHINFO). Exit: the dialog dismissed; after a forced logout, key.dat in the working
// directory emptied once the workers have been told to stop.
//
// GUI thread only. Requests run on their own workers (requestThread); their replies come back
// here on the GUI thread.
class MemberModule : public ClientPart {
public:
    struct Needs {
        // State pieces, all required; they outlive the module.
        SessionState* session = nullptr;
        SettingsStore* settings = nullptr;
        const ProgramPaths* paths = nullptr;
        const AppRunningFlag* appRunning = nullptr;
        // The main window's member picture (member: LOGO2, Tag 1; guest: LOGO1, Tag 0) and the
        // text of its user label.
        std::function<void(bool member, const QString& userLabel)> showMemberState = {};
        // The section pages' forceReload: "sign" after a login, "all" after a logout.
        std::function<void(const QString& types)> forceReload = {};
        // Tells the application to end: the exit procedure.
        std::function<void()> exitProcedure = {};
        // Opens an address in the system's web browser (openInSystemBrowser in the program).
        std::function<void(const QUrl& url)> openUrl = {};
    };

    MemberModule();
    ~MemberModule();
    MemberModule(const MemberModule&) = delete;
    MemberModule& operator=(const MemberModule&) = delete;

    void setNeeds(Needs needs);
    // forcelogout; loginLabelClick and logIMGClick (modal: deferred), lgoutlabClick,
    // utypelabClick, regLabelClick. Each ignores its parameter and answers "1".
    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // The member picture clicked: the login dialog, while no member is signed in.
    void logIMGClick();
    // The login dialog, whatever the member state.
    void loginLabelClick();
    // Sends "logout"; whatever the reply, the client returns to the guest state.
    void lgoutlabClick();
    // The price page and the register page of the web site.
    void utypelabClick();
    void regLabelClick();
    // Ends the client through the exit procedure and empties the companion's key.dat.
    void forcelogout();
    // Signs `user` in with `password` in the background (the automatic login's request).
    void loginRequest(const QString& user, const QString& password);

    bool signedIn() const { return m_session.signedIn(); }
    Tauform* loginForm(); // made on the first call
    // Request time-outs in milliseconds (tests use short ones).
    void setRequestTimeoutsMs(int connectMs, int readMs);

    // QDesktopServices::openUrl: the system's browser.
    static void openInSystemBrowser(const QUrl& url);

private:
    void automaticLogin();
    const HostPort& webSite() const { return m_needs.paths->endpoints.webSite; }
    void sendLogin(const QString& user, const QString& password,
                   std::function<void(const QString& reply)> handler);
    void sendRequest(const QString& action, const QString& parameters,
                     std::function<void(const QString& reply)> handler);
    void openLink(const QString& url);
    void forceReload(const QString& types);
    void clearKeyFile();

    Needs m_needs;
    MemberSession m_session;
    QObject m_guard; // handlers of requests still out are skipped once the module is gone
    OnFirstUse<Tauform> m_auform; // made when the login window is first shown
    int m_connectTimeoutMs = 60000;
    int m_readTimeoutMs = 60000;
    bool m_clearKeyFile = false;
};

} // namespace kovan
