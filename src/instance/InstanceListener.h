#pragma once

#include "core/HandOverRequest.h"

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace kovan {

// The running client's end of the folder's channel: a QLocalServer on the channel's socket in
// the user's runtime folder (mode 0700, in a folder of the user's), serving the one-line
// requests of later starts (HandOverRequest) and answering "ok" to each it takes. A peer of
// another account (root passes file modes) is turned away. A socket a killed client left is
// replaced; a live one is never removed. GUI thread only; peers are served from the event loop.
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
    void servePeers();
    void serve(QLocalSocket* peer);
    void take(const HandOverRequest& request);

    QString m_socketPath;
    Actions m_actions;
    QLocalServer* m_server = nullptr;
};

} // namespace kovan
