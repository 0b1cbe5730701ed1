#include "shell/CloseMessageListener.h"

#include "core/LocalSockets.h"
#include "core/Trace.h"
#include "instance/PrivateLocalServer.h"

#include <QLocalSocket>

namespace kovan {

CloseMessageListener::CloseMessageListener(std::function<void()> onCloseMessage, QString socketName,
                                           QObject* parent)
    : QObject(parent), m_onCloseMessage(std::move(onCloseMessage)),
      m_socketName(std::move(socketName)) {}

void CloseMessageListener::registerCloseMessage() {
    if (m_closeServer)
        return;
    m_closeServer = new PrivateLocalServer(QStringLiteral("close message"), this);
    connect(m_closeServer, &PrivateLocalServer::peerConnected, this, [this](QLocalSocket* peer) {
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
            while (peer->canReadLine()) {
                if (isCloseMessage(peer->readLine()) && m_onCloseMessage)
                    m_onCloseMessage();
            }
        });
    });
    QString problem;
    const QString path = localSocketPath(m_socketName, &problem);
    if (problem.isEmpty()) {
        problem = m_closeServer->listen(path);
        if (!problem.isEmpty())
            problem = path + QStringLiteral(": ") + problem;
    }
    if (!problem.isEmpty())
        trace(QStringLiteral("close message: cannot listen: ") + problem);
}

bool CloseMessageListener::listening() const {
    return m_closeServer && m_closeServer->isListening();
}

bool CloseMessageListener::isCloseMessage(const QByteArray& line) {
    return line.trimmed() == kCloseMessage;
}

} // namespace kovan
