#include "web/HostWebView.h"

#include "core/CommandRegistry.h"
#include "web/BridgePage.h"
#include "web/WebEngineSetup.h"

#include <QWebEngineSettings>

namespace kovan {

HostWebView::HostWebView(const QString& objectName, int initialTag, QWidget* parent)
    : QWebEngineView(sharedProfile(), parent), Tag(initialTag) {
    setObjectName(objectName);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    applyHostSettings(page()->settings());
    hookPage();
}

void HostWebView::hookPage() {
    connect(page(), &QWebEnginePage::loadStarted, this, [this] { m_busy = true; });
    connect(page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_busy = false;
        Q_EMIT documentComplete(ok);
    });
}

void HostWebView::attachScriptHost(CommandRegistry& registry) {
    const QUrl current = url();
    // The view deletes its previous page itself when it was the page's parent.
    auto* bridged = new BridgePage(registry, deferredReplies(), this);
    setPage(bridged);
    m_busy = false;
    m_hasHost = true;
    hookPage();
    if (current.isValid() && !current.isEmpty() && current != QUrl(QStringLiteral("about:blank")))
        navigate(current);
}

void HostWebView::attachScriptHost() {
    attachScriptHost(commandRegistry());
}

void HostWebView::navigate(const QUrl& url) {
    m_busy = true;
    load(url);
}

void HostWebView::runScript(const QString& code) {
    page()->runJavaScript(code);
}

} // namespace kovan
