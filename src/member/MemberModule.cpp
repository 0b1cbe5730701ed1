#include "member/MemberModule.h"

#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/LogScrubber.h"
#include "core/PrivateFiles.h"
#include "core/Scramble.h"
#include "core/Trace.h"
#include "member/Tauform.h"
#include "member/WebSiteLinks.h"
#include "net/requestThread.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace kovan {

MemberModule::MemberModule()
    : m_auform([this] {
          auto form = std::make_unique<Tauform>();
          form->sendLogin = [this](const QString& user, const QString& password,
                                   Tauform::ReplyHandler done) {
              sendLogin(user, password, std::move(done));
          };
          form->signedIn = [this](const LoginReply& reply, const QString& user,
                                  const QString& password, bool remember) {
              m_session.dialogSignedIn(reply, user, password, remember);
          };
          form->endApplication = [this] {
              if (m_needs.exitProcedure)
                  m_needs.exitProcedure();
          };
          form->openMemberPage = [this] {
              openLink(memberPageUrl(webSite(), m_needs.session->sessid(), linkClientKey()));
          };
          form->openRegisterPage = [this] {
              openLink(dialogRegisterUrl(webSite(), linkClientKey()));
          };
          return form;
      }) {}

MemberModule::~MemberModule() = default;

Tauform* MemberModule::loginForm() {
    return m_auform.get();
}

void MemberModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    m_session.setState(*m_needs.session, *m_needs.settings);
    m_session.setEffects(
        {m_needs.showMemberState, [this](const QString& types) { forceReload(types); }});
}

void MemberModule::registerCommands(CommandRegistry& registry) {
    const auto modal = CommandRegistry::Reply::Deferred;
    registry.addAction(QStringLiteral("forcelogout"), [this](const QString&) { forcelogout(); });
    registry.addAction(
        QStringLiteral("loginLabelClick"), [this](const QString&) { loginLabelClick(); }, modal);
    registry.addAction(
        QStringLiteral("logIMGClick"), [this](const QString&) { logIMGClick(); }, modal);
    registry.addAction(QStringLiteral("lgoutlabClick"),
                       [this](const QString&) { lgoutlabClick(); });
    registry.addAction(QStringLiteral("utypelabClick"),
                       [this](const QString&) { utypelabClick(); });
    registry.addAction(QStringLiteral("regLabelClick"),
                       [this](const QString&) { regLabelClick(); });
}

void MemberModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::SignIn, [this] { automaticLogin(); });
    // Added after the sync loop's stop step: key.dat goes once the workers have been told to
    // end, as the forced logout asks.
    lifecycle.onExit(ExitStep::StopWorkers, [this] {
        if (m_clearKeyFile)
            clearKeyFile();
    });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        if (Tauform* form = m_auform.ifBuilt())
            form->dismissForExit();
    });
}

void MemberModule::automaticLogin() {
    // Text that is not hexadecimal throws: the error handler drops it, start-up is over. A
    // password holding "###" cannot be told apart: no automatic login then.
    const QStringList login = MemberSession::rememberedLogin(m_needs.settings->value(u"AUTHINFO"));
    if (login.size() != 2)
        return;
    trace(QStringLiteral("automatic login"));
    loginRequest(login[0], login[1]);
}

void MemberModule::logIMGClick() {
    if (!m_session.signedIn())
        loginLabelClick();
}

void MemberModule::loginLabelClick() {
    m_auform->setSiteName(webSite().host);
    m_auform->showLogin();
}

void MemberModule::lgoutlabClick() {
    sendRequest(QStringLiteral("logout"), logoutParameters(),
                [this](const QString&) { m_session.logoutResult(); });
}

void MemberModule::utypelabClick() {
    openLink(priceUrl(webSite(), linkClientKey(), m_needs.session->sessid()));
}

void MemberModule::regLabelClick() {
    openLink(registerUrl(webSite(), linkClientKey(), m_needs.session->sessid()));
}

void MemberModule::forcelogout() {
    trace(QStringLiteral("forced logout"));
    m_clearKeyFile = true;
    if (m_needs.exitProcedure)
        m_needs.exitProcedure();
}

void MemberModule::loginRequest(const QString& user, const QString& password) {
    sendLogin(user, password, [this](const QString& reply) { m_session.loginResult(reply); });
}

void MemberModule::sendLogin(const QString& user, const QString& password,
                             std::function<void(const QString& reply)> handler) {
    // The password, plain or as sent, never reaches a log line.
    logScrubber().addSecret(password);
    logScrubber().addSecret(scrambleStr(password));
    sendRequest(QStringLiteral("clientlogin"), loginParameters(user, password, getClientKey()),
                std::move(handler));
}

void MemberModule::setRequestTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

void MemberModule::openInSystemBrowser(const QUrl& url) {
    if (!QDesktopServices::openUrl(url))
        trace(QStringLiteral("no browser opened for a web-site link"));
}

void MemberModule::sendRequest(const QString& action, const QString& parameters,
                               std::function<void(const QString& reply)> handler) {
    auto* worker = new requestThread(action, parameters, m_needs.paths->endpoints.dataServer.root(),
                                     *m_needs.session);
    worker->setTimeoutsMs(m_connectTimeoutMs, m_readTimeoutMs);
    worker->setTerminationHandler(
        &m_guard, [h = std::move(handler)](requestThread* sender) { h(sender->recvStr()); });
    worker->start();
}

void MemberModule::openLink(const QString& url) {
    if (m_needs.openUrl)
        m_needs.openUrl(QUrl(url, QUrl::StrictMode));
}

void MemberModule::forceReload(const QString& types) {
    // A reply that comes back while the client ends reloads nothing.
    if (m_needs.appRunning->isSet() && m_needs.forceReload)
        m_needs.forceReload(types);
}

void MemberModule::clearKeyFile() {
    // The companion's key file, in the working directory; this program never reads it. A
    // secret: new or old, it is left the user's alone (0600).
    QFile key(QDir::current().filePath(QStringLiteral("key.dat")));
    if (!key.open(QIODevice::WriteOnly | QIODevice::Truncate,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        trace(QStringLiteral("key.dat not emptied: ") + key.errorString());
    else
        keepToOwner(key.handle());
}

} // namespace kovan
