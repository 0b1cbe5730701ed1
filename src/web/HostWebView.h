#pragma once

#include <QWebEngineView>

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

    BridgePage* m_page = nullptr; // owned by the view (its parent)
    bool m_busy = false;
    bool m_hasHost = false;
};

} // namespace kovan
