#pragma once

#include "core/SessionState.h"
#include "core/SettingsStore.h"
#include "member/MemberRequests.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kovan {

// The member state of the client (guest or signed-in member) and what the results of sign-in
// and sign-out change: the member picture and user label on the main window, AUTHKEY and
// AUTHINFO in the settings (saved to config.dat), the session id, the session text, the pages.
//
// Guest → (a successful loginResult or dialog login) → Member → (logoutResult) → Guest.
// GUI thread only (it writes the settings and the session text).
class MemberSession {
public:
    struct Effects {
        // The main window's member picture (LOGO2 and Tag 1 for a member, LOGO1 and Tag 0 for a
        // guest) and its user label text.
        std::function<void(bool member, const QString& userLabel)> showMemberState;
        // forceReload of the section pages: "sign" or "all".
        std::function<void(const QString& types)> forceReload;
    };

    // "    访客    " and four spaces + UID + four spaces.
    static QString guestLabel();
    static QString memberLabel(const QString& uid);

    // The remembered login (AUTHINFO, scrambled) as user and password: two pieces when the
    // unscrambled text splits into exactly two on "###", otherwise none (a password holding
    // "###" cannot be told apart). Throws ConversionError for text that is not hexadecimal.
    static QStringList rememberedLogin(const QString& authInfo);
    // AUTHINFO for a user and password.
    static QString rememberLogin(const QString& user, const QString& password);

    // The session and settings it changes; they outlive it. Before any result arrives.
    void setState(SessionState& session, SettingsStore& settings) {
        m_sessionState = &session;
        m_settings = &settings;
    }
    void setEffects(Effects effects) { m_effects = std::move(effects); }
    bool signedIn() const { return m_signedIn; }

    // The automatic login's reply (loginResult). Anything but a JSON object with status 1
    // changes nothing. Otherwise: member state; AUTHKEY = sessid, saved; sessid; sessInfoText =
    // the whole reply; forceReload("sign"). True when the member is signed in.
    bool loginResult(const QString& replyText);
    // The login dialog's accepted reply: member state; AUTHKEY = sessid; AUTHINFO for the user
    // and password when `remember` (left as it was otherwise); saved; sessid. sessInfoText and
    // the pages stay as they are.
    void dialogSignedIn(const LoginReply& reply, const QString& user, const QString& password,
                        bool remember);
    // logoutResult, whatever the reply: guest state; AUTHINFO deleted, saved;
    // forceReload("all"). sessid and AUTHKEY stay.
    void logoutResult();

private:
    void showMember(const QString& uid);
    // saveConfig. A file that cannot be written leaves the new values in memory and does not
    // stop the sign-in or sign-out half-way.
    void save();

    Effects m_effects;
    SessionState* m_sessionState = nullptr;
    SettingsStore* m_settings = nullptr;
    bool m_signedIn = false;
};

} // namespace kovan
