#include "instance/InstanceListener.h"

#include "core/Trace.h"

#include <QLocalSocket>

namespace kovan {

InstanceListener::InstanceListener(QString socketPath, Actions actions, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_actions(std::move(actions)) {
    connect(&m_server, &PrivateLocalServer::peerConnected, this, &InstanceListener::servePeer);
}

bool InstanceListener::listen() {
    if (listening())
        return true;
    const QString problem = m_socketPath.isEmpty() ? QStringLiteral("no runtime folder")
                                                   : m_server.listen(m_socketPath);
    if (!problem.isEmpty()) {
        trace(QStringLiteral("hand-over: cannot listen: %1: %2").arg(m_socketPath, problem));
        return false;
    }
    trace(QStringLiteral("hand-over: listening"));
    return true;
}

void InstanceListener::stop() {
    if (!listening())
        return;
    m_server.close();
    trace(QStringLiteral("hand-over: no longer listening"));
}

bool InstanceListener::listening() const {
    return m_server.isListening();
}

void InstanceListener::servePeer(QLocalSocket* peer) {
    connect(peer, &QLocalSocket::readyRead, this, [this, peer] { serve(peer); });
    serve(peer); // the line may have come with the connection
}

void InstanceListener::serve(QLocalSocket* peer) {
    while (peer->canReadLine()) {
        const std::optional<HandOverRequest> request =
            HandOverRequest::parse(peer->readLine(HandOverRequest::kMaxLine));
        if (!request) {
            trace(QStringLiteral("hand-over: unknown request turned away"));
            peer->abort();
            return;
        }
        // The answer goes out before the request is acted on: a quit hides the windows and
        // ends the message loop soon after.
        peer->write(HandOverRequest::kReply);
        peer->flush();
        take(*request);
    }
    if (peer->bytesAvailable() >= HandOverRequest::kMaxLine) {
        trace(QStringLiteral("hand-over: overlong request turned away"));
        peer->abort();
    }
}

void InstanceListener::take(const HandOverRequest& request) {
    switch (request.kind) {
    case HandOverRequest::Kind::Raise:
        trace(request.startupId.isEmpty() ? QStringLiteral("hand-over: raise")
                                          : QStringLiteral("hand-over: raise (start-up id %1)")
                                                .arg(QString::fromLatin1(request.startupId)));
        if (m_actions.raise)
            m_actions.raise(request.startupId);
        break;
    case HandOverRequest::Kind::Quit:
        trace(QStringLiteral("hand-over: quit"));
        if (m_actions.quit)
            m_actions.quit();
        break;
    case HandOverRequest::Kind::Hello:
        trace(QStringLiteral("hand-over: a start at login, nothing to do"));
        break;
    }
}

} // namespace kovan
