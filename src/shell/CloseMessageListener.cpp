#include "shell/CloseMessageListener.h"

#include "core/LocalSockets.h"
#include "core/Trace.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kovan {

CloseMessageListener::CloseMessageListener(std::function<void()> onCloseMessage, QString socketName,
                                           QObject* parent)
    : QObject(parent), m_onCloseMessage(std::move(onCloseMessage)),
      m_socketName(std::move(socketName)) {}

void CloseMessageListener::registerCloseMessage() {
    if (m_closeServer)
        return;
    m_closeServer = new QLocalServer(this);
    QString problem;
    const QString path = localSocketPath(m_socketName, &problem);
    if (problem.isEmpty()) {
        // A socket left behind by a client that was killed goes; a live one stays its owner's.
        problem = claimSocketPath(path);
        if (!problem.isEmpty())
            problem = path + QStringLiteral(": ") + problem;
    }
    if (!problem.isEmpty()) {
        trace(QStringLiteral("close message: cannot listen: ") + problem);
        return;
    }
    m_closeServer->setSocketOptions(QLocalServer::UserAccessOption); // mode 0700
    if (!m_closeServer->listen(path)) {
        trace(QStringLiteral("close message: cannot listen: ") + m_closeServer->errorString());
        return;
    }
    connect(m_closeServer, &QLocalServer::newConnection, this, &CloseMessageListener::servePeers);
}

bool CloseMessageListener::listening() const {
    return m_closeServer && m_closeServer->isListening();
}

bool CloseMessageListener::isCloseMessage(const QByteArray& line) {
    return line.trimmed() == kCloseMessage;
}

void CloseMessageListener::servePeers() {
    while (QLocalSocket* peer = m_closeServer->nextPendingConnection()) {
        const std::optional<uid_t> account = localPeerUid(int(peer->socketDescriptor()));
        if (account != ::geteuid()) {
            trace(QStringLiteral("close message: peer of another account turned away (uid %1)")
                      .arg(account ? QString::number(*account) : QStringLiteral("unknown")));
            peer->abort();
            peer->deleteLater();
            continue;
        }
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
            while (peer->canReadLine()) {
                if (isCloseMessage(peer->readLine()) && m_onCloseMessage)
                    m_onCloseMessage();
            }
        });
    }
}

} // namespace kovan
