#pragma once

#include "core/Endpoints.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <optional>

class QWebEngineUrlRequestJob;

namespace kovan {

// Answers of bridge calls that could not be given inside the page's prompt: commands that open
// modal windows. The page's wrapper parks a synchronous request "fcb:wait?p=<token>" here; the
// request is answered once the command has run (outside the engine's task, so the engine keeps
// serving the other views meanwhile). The request may arrive before or after the command ends.
//
// GUI thread only (the engine calls requestStarted there; the bridge pages run there).
class DeferredReplies : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit DeferredReplies(QObject* parent = nullptr);

    // Registers the "fcb" scheme with the engine. Must run before the QApplication exists.
    static void registerScheme();

    // A fresh, unguessable token for one call; its answer is pending until complete().
    QString open();
    // Stores the final answer ("R…" or "E…") of `token` and releases a parked request.
    void complete(const QString& token, const QString& answer);
    // Tokens opened and not yet fetched by their page.
    int pendingCount() const { return int(m_pending.size()); }

    // Origin check for parked requests; set by whoever installs the handler. Empty: refuse.
    std::function<bool(const QUrl& origin)> originAllowed;

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    struct Pending {
        std::optional<QString> answer;
        QPointer<QWebEngineUrlRequestJob> job;
        QElapsedTimer age;
    };
    void reply(QWebEngineUrlRequestJob* job, const QString& answer);
    void dropStale();

    QHash<QString, Pending> m_pending;
};

} // namespace kovan
