#pragma once

#include <QWebEnginePage>

#include <functional>

namespace kovan {

class CommandRegistry;
class DeferredReplies;

// A page with the client's script host. Once attached to a command registry, its documents
// have window.external.FCB(name, params) in the main frame and every sub-frame, answered from
// that registry; before, they have no FCB, as in a plain browser. Only frames whose origin is
// the configured page server are served; any other frame gets the script error "forbidden"
// and nothing runs. Page calls of a plain prompt() answer null and show nothing.
//
// GUI thread only. Commands run on the GUI thread, inside the page's call (immediate commands)
// or from the event loop just after it (deferred commands, which may open modal windows).
class BridgePage : public QWebEnginePage {
    Q_OBJECT
public:
    // `deferred` must outlive the page. The page uses the shared profile.
    explicit BridgePage(DeferredReplies& deferred, QObject* parent = nullptr);

    // Serves the documents created from now on from `registry`, which must outlive the page.
    // Attaching again hands the host to the new registry.
    void attach(CommandRegistry& registry);
    bool attached() const { return m_registry != nullptr; }

    // Which origins are served. Default: bridgeOriginAllowed, the page server the program
    // serves the bridge for (WebEngineSetup.h).
    std::function<bool(const QUrl& origin)> originAllowed;

    // Runs one bridge call as the page would (tests, benchmarks): the raw answer ("R…", "E…",
    // "D…"). The origin is the caller's security origin.
    QString answerCall(const QUrl& origin, const QString& name, const QString& params);

Q_SIGNALS:
    // A page call arrived (answered or refused).
    void called();

protected:
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;

private:
    QString runNow(const QString& name, const QString& params);
    bool allowed(const QUrl& origin) const;

    CommandRegistry* m_registry = nullptr; // null until attach()
    DeferredReplies& m_deferred;
};

} // namespace kovan
