#include "web/HostWebView.h"

#include "core/CommandRegistry.h"
#include "core/Trace.h"
#include "web/BridgePage.h"
#include "web/WebEngineSetup.h"

#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineSettings>

namespace kovan {

HostWebView::HostWebView(const QString& objectName, int initialTag, QWidget* parent)
    : QWebEngineView(parent), Tag(initialTag) {
    setObjectName(objectName);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // The view keeps this page for life (it is the page's parent): attaching the script host
    // switches the bridge on in it, so a page the engine has already set up is not replaced.
    m_page = new BridgePage(deferredReplies(), this);
    setPage(m_page);
    m_collectTimer = new QTimer(this);
    m_collectTimer->setSingleShot(true);
    connect(m_collectTimer, &QTimer::timeout, this, &HostWebView::collectGarbage);
    hookPage();
}

void HostWebView::hookPage() {
    connect(page(), &QWebEnginePage::loadStarted, this, [this] { m_busy = true; });
    connect(page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_busy = false;
        traceProcess();
        collectGarbageSoon();
        Q_EMIT documentComplete(ok);
    });
    connect(m_page, &BridgePage::called, this, &HostWebView::collectGarbageSoon);
}

void HostWebView::collectGarbageSoon() {
    // A timer already armed takes this work along: one collection a delay at most.
    if (!m_collectTimer->isActive())
        m_collectTimer->start(m_collectDelayMs);
}

void HostWebView::setCollectDelayMs(int ms) {
    m_collectDelayMs = ms;
    if (m_collectTimer->isActive())
        m_collectTimer->start(ms);
}

void HostWebView::collectGarbage() {
    ++m_collections;
    const QString name = QString::fromLatin1(kGarbageCollectorName);
    page()->runJavaScript(QStringLiteral("typeof %1 === 'function' && %1();").arg(name),
                          QWebEngineScript::ApplicationWorld);
}

void HostWebView::traceProcess() {
    // Which page process serves which view: the measuring scripts (scripts/soak) charge each
    // process's memory to its view by these lines.
    const qint64 pid = page()->renderProcessPid();
    if (pid > 0 && pid != m_tracedPid && traceEnabled()) {
        m_tracedPid = pid;
        trace(QStringLiteral("page process: %1 %2").arg(objectName()).arg(pid));
    }
}

void HostWebView::attachScriptHost(CommandRegistry& registry) {
    m_page->attach(registry);
    m_hasHost = true;
    // A document loaded before has no bridge (it is injected as a document is created).
    const QUrl current = url();
    if (current.isValid() && !current.isEmpty() && current != QUrl(QStringLiteral("about:blank")))
        navigate(current);
}

void HostWebView::navigate(const QUrl& url) {
    // A view that never held a document is blank already; loading "about:blank" there would
    // only start a page process for an empty page.
    if (!m_busy && this->url().isEmpty() && url == QUrl(QStringLiteral("about:blank")))
        return;
    m_busy = true;
    load(url);
}

void HostWebView::startPage() {
    // Any call into the page has the engine create it, and with it the page's process.
    m_page->runJavaScript(QStringLiteral("0"));
}

void HostWebView::runScript(const QString& code) {
    page()->runJavaScript(code);
    collectGarbageSoon();
}

} // namespace kovan
