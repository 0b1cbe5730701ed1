#include "instance/PrivateLocalServer.h"

#include "core/LocalSockets.h"
#include "core/Trace.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kovan {

PrivateLocalServer::PrivateLocalServer(QString traceName, QObject* parent)
    : QObject(parent), m_traceName(std::move(traceName)) {}

QString PrivateLocalServer::listen(const QString& path) {
    if (isListening())
        return {};
    if (const QString problem = claimSocketPath(path); !problem.isEmpty())
        return problem;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption); // mode 0700
        connect(m_server, &QLocalServer::newConnection, this, &PrivateLocalServer::acceptPeers);
    }
    return m_server->listen(path) ? QString() : m_server->errorString();
}

void PrivateLocalServer::close() {
    if (m_server)
        m_server->close();
}

bool PrivateLocalServer::isListening() const {
    return m_server && m_server->isListening();
}

void PrivateLocalServer::acceptPeers() {
    while (QLocalSocket* peer = m_server->nextPendingConnection()) {
        const std::optional<uid_t> account = localPeerUid(int(peer->socketDescriptor()));
        if (account != ::geteuid()) {
            trace(QStringLiteral("%1: peer of another account turned away (uid %2)")
                      .arg(m_traceName,
                           account ? QString::number(*account) : QStringLiteral("unknown")));
            peer->abort();
            peer->deleteLater();
            continue;
        }
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        Q_EMIT peerConnected(peer);
    }
}

} // namespace kovan
