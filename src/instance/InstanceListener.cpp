#include "instance/InstanceListener.h"

#include "core/LocalSockets.h"
#include "core/Trace.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kovan {

InstanceListener::InstanceListener(QString socketPath, Actions actions, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_actions(std::move(actions)) {}

bool InstanceListener::listen() {
    if (listening())
        return true;
    QString problem = m_socketPath.isEmpty() ? QStringLiteral("no runtime folder")
                                             : claimSocketPath(m_socketPath);
    if (problem.isEmpty()) {
        if (!m_server) {
            m_server = new QLocalServer(this);
            m_server->setSocketOptions(QLocalServer::UserAccessOption); // mode 0700
            connect(m_server, &QLocalServer::newConnection, this, &InstanceListener::servePeers);
        }
        if (!m_server->listen(m_socketPath))
            problem = m_server->errorString();
    }
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
    m_server->close(); // removes the socket file; peers being served finish
    trace(QStringLiteral("hand-over: no longer listening"));
}

bool InstanceListener::listening() const {
    return m_server && m_server->isListening();
}

void InstanceListener::servePeers() {
    while (QLocalSocket* peer = m_server->nextPendingConnection()) {
        const std::optional<uid_t> account = localPeerUid(int(peer->socketDescriptor()));
        if (account != ::geteuid()) {
            trace(QStringLiteral("hand-over: peer of another account turned away (uid %1)")
                      .arg(account ? QString::number(*account) : QStringLiteral("unknown")));
            peer->abort();
            peer->deleteLater();
            continue;
        }
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { serve(peer); });
        serve(peer); // the line may have come with the connection
    }
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
