#include "web/WebEngineSetup.h"

#include "core/ProgramState.h"
#include "web/BridgeProtocol.h"
#include "web/DeferredReplies.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace kovan {

void prepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    DeferredReplies::registerScheme();
}

namespace {
DeferredReplies* g_deferred = nullptr; // owned by the profile
} // namespace

QWebEngineProfile* sharedProfile() {
    static QWebEngineProfile* profile = [] {
        QWebEngineProfile* p = QWebEngineProfile::defaultProfile();
        auto* handler = new DeferredReplies(p);
        g_deferred = handler;
        handler->originAllowed = [](const QUrl& origin) {
            return bridge::isPageServerOrigin(origin, program().endpoints.pageServer);
        };
        p->installUrlSchemeHandler(QByteArray(bridge::kScheme), handler);
        return p;
    }();
    return profile;
}

DeferredReplies& deferredReplies() {
    sharedProfile();
    return *g_deferred;
}

void applyHostSettings(QWebEngineSettings* settings) {
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
}

} // namespace kovan
