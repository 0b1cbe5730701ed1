#pragma once

#include <QString>

#include <memory>

namespace kovan {

class CommandRegistry;
class Lifecycle;
class Tauform;

// Member sign-in and sign-out: the login dialog, the automatic login at start-up, logout.
//
// Offers: the member picture's click (the login dialog while no member is signed in).
// Start-up: the automatic login from the remembered account (AUTHINFO in the settings).
// GUI thread only.
class MemberModule {
public:
    MemberModule();
    ~MemberModule();
    MemberModule(const MemberModule&) = delete;
    MemberModule& operator=(const MemberModule&) = delete;

    void registerCommands(CommandRegistry& registry);
    void addSteps(Lifecycle& lifecycle);

    // The member picture clicked while no member is signed in.
    void logIMGClick();
    // Signs `user` in with `password` in the background.
    void loginRequest(const QString& user, const QString& password);

    Tauform* loginForm() const { return m_auform.get(); }

private:
    void automaticLogin();

    std::unique_ptr<Tauform> m_auform;
};

} // namespace kovan
