#include "shell/CloseMessageListener.h"

#include "core/Trace.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace kovan {

CloseMessageListener::CloseMessageListener(std::function<void()> onCloseMessage, QString serverName,
                                           QObject* parent)
    : QObject(parent), m_onCloseMessage(std::move(onCloseMessage)),
      m_serverName(std::move(serverName)) {}

void CloseMessageListener::registerCloseMessage() {
    if (m_closeServer)
        return;
    m_closeServer = new QLocalServer(this);
    // A client that ended without cleaning up leaves a stale socket file behind.
    QLocalServer::removeServer(m_serverName);
    if (!m_closeServer->listen(m_serverName)) {
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
