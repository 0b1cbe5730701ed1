#pragma once

#include "core/HandOverRequest.h"
#include "instance/PrivateLocalServer.h"

#include <QObject>
#include <QString>

#include <functional>

class QLocalSocket;

namespace kovan {

// The running client's end of the folder's channel: a PrivateLocalServer on the channel's
// socket, serving the one-line requests of later starts (HandOverRequest) and answering "ok" to
// each it takes. GUI thread only; peers are served from the event loop.
class InstanceListener : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<void(const QByteArray& startupId)> raise;
        std::function<void()> quit;
    };

    InstanceListener(QString socketPath, Actions actions, QObject* parent = nullptr);

    // Starts listening; false (traced) when the path is not free or listen fails. Later calls
    // while listening do nothing.
    bool listen();
    // Stops listening: the socket goes, later starts no longer reach this client.
    void stop();
    bool listening() const;

private:
    void servePeer(QLocalSocket* peer);
    void serve(QLocalSocket* peer);
    void take(const HandOverRequest& request);

    QString m_socketPath;
    Actions m_actions;
    PrivateLocalServer m_server{QStringLiteral("hand-over")};
};

} // namespace kovan
