#pragma once

#include <QWebEngineView>

class QTimer;

namespace kovan {

class BridgePage;
class CommandRegistry;

// A web view of the main window (section pages, content pane, chart panels): the client's
// host look and, once attachScriptHost() ran, window.external.FCB. Keeps the view's `Tag`
// (page state) and a busy flag (a load is under way). GUI thread only.
class HostWebView : public QWebEngineView {
    Q_OBJECT
public:
    explicit HostWebView(const QString& objectName, int initialTag, QWidget* parent = nullptr);

    // Switches the view's page bridge on, answering from `registry`, which outlives the view.
    // Attaching twice leaves the second host in charge; the current address is loaded again so
    // that its document gets the bridge.
    void attachScriptHost(CommandRegistry& registry);
    bool hasScriptHost() const { return m_hasHost; }

    // Runs a script text in the page's main frame; a function the page lacks stays an error
    // inside the page.
    void runScript(const QString& code);

    // Loads `url` and counts as busy from this call on (the engine reports the start of a load
    // only later). "about:blank" in a view that never held a document does nothing.
    void navigate(const QUrl& url);

    // After work in the page (a load, a script run, a bridge call), its garbage is collected
    // once, kCollectDelayMs later: pages that re-render on every post leave detached nodes
    // that the engine, with its small script heaps, would collect only rarely, and the page
    // process would grow all day. Idle views cost nothing. Runs in the client's own script
    // world, so the page sees no script of the client's; without the engine's collector (the
    // user set the engine's flags) it does nothing.
    static constexpr int kCollectDelayMs = 60000;
    void setCollectDelayMs(int ms);
    // Collections run so far (tests).
    int collections() const { return m_collections; }

    // Has the engine set the page up now rather than at its first load: the page's process
    // then starts in the background while the client goes on starting. For the views on
    // screen at start, whose first load comes a moment later.
    void startPage();

    // True from navigate() or a load's start until the load finishes (successfully or not).
    bool isBusy() const { return m_busy; }

    int Tag = 0;

Q_SIGNALS:
    // The document-complete event: every finished load, failed ones included.
    void documentComplete(bool ok);

private:
    void hookPage();
    void traceProcess();
    void collectGarbageSoon();
    void collectGarbage();

    BridgePage* m_page = nullptr; // owned by the view (its parent)
    bool m_busy = false;
    bool m_hasHost = false;
    qint64 m_tracedPid = 0;           // the page process last named in the trace
    QTimer* m_collectTimer = nullptr; // single shot, armed by work in the page
    int m_collectDelayMs = kCollectDelayMs;
    int m_collections = 0;
};

} // namespace kovan
