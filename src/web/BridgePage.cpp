#include "web/BridgePage.h"

#include "core/CommandRegistry.h"
#include "web/BridgeProtocol.h"
#include "web/DeferredReplies.h"
#include "web/WebEngineSetup.h"

#include <QPointer>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <exception>

namespace kovan {

namespace {

QWebEngineScript makeScript(const QString& name, const QString& source,
                            QWebEngineScript::InjectionPoint point) {
    QWebEngineScript s;
    s.setName(name);
    s.setSourceCode(source);
    s.setInjectionPoint(point);
    s.setWorldId(QWebEngineScript::MainWorld);
    s.setRunsOnSubFrames(true);
    return s;
}

} // namespace

BridgePage::BridgePage(DeferredReplies& deferred, QObject* parent)
    : QWebEnginePage(sharedProfile(), parent), m_deferred(deferred) {
    scripts().insert(makeScript(QStringLiteral("kovan-host-look"), bridge::hostStyleScript(),
                                QWebEngineScript::DocumentReady));
    applyHostSettings(settings());
}

void BridgePage::attach(CommandRegistry& registry) {
    if (!m_registry)
        scripts().insert(makeScript(QStringLiteral("kovan-bridge"), bridge::injectedScript(),
                                    QWebEngineScript::DocumentCreation));
    m_registry = &registry;
}

bool BridgePage::allowed(const QUrl& origin) const {
    if (originAllowed)
        return originAllowed(origin);
    return bridgeOriginAllowed(origin);
}

QString BridgePage::runNow(const QString& name, const QString& params) {
    try {
        return bridge::resultAnswer(m_registry->IWebCallBack(name, params));
    } catch (const std::exception& e) {
        return bridge::errorAnswer(QString::fromUtf8(e.what()));
    } catch (...) {
        return bridge::errorAnswer(QStringLiteral("unexpected error"));
    }
}

QString BridgePage::answerCall(const QUrl& origin, const QString& name, const QString& params) {
    if (!m_registry || !allowed(origin))
        return bridge::errorAnswer(QString::fromLatin1(bridge::kForbidden));
    if (m_registry->replyKind(name) == CommandRegistry::Reply::Immediate)
        return runNow(name, params);

    // A modal command must not run inside the engine's prompt handling: a nested event loop
    // there would stall every other view. Answer with a token now, run the command from the
    // event loop, and release the page's parked request when it is done.
    const QString token = m_deferred.open();
    QPointer<BridgePage> self(this);
    QPointer<DeferredReplies> deferred(&m_deferred);
    CommandRegistry* registry = m_registry;
    QTimer::singleShot(0, &m_deferred, [self, deferred, registry, token, name, params] {
        QString answer;
        try {
            answer = bridge::resultAnswer(registry->IWebCallBack(name, params));
        } catch (const std::exception& e) {
            answer = bridge::errorAnswer(QString::fromUtf8(e.what()));
        } catch (...) {
            answer = bridge::errorAnswer(QStringLiteral("unexpected error"));
        }
        if (deferred)
            deferred->complete(token, answer);
    });
    return bridge::deferredAnswer(token);
}

bool BridgePage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                  const QString& defaultValue, QString* result) {
    const std::optional<bridge::Call> call = bridge::decodeCall(msg, defaultValue);
    if (!call || !m_registry)
        return false; // a page's own prompt(): null, no dialog
    // The wrapper refuses longer calls itself; this holds for a page that prompts directly.
    *result = call->name.size() + call->params.size() > bridge::kMaxCallLength
                  ? bridge::errorAnswer(bridge::tooLongMessage())
                  : answerCall(securityOrigin, call->name, call->params);
    Q_EMIT called();
    return true;
}

} // namespace kovan
