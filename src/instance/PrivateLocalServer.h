#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace kovan {

// A local socket server that only the user's own programs reach: the socket is made with
// user-only access (mode 0700) at a path in the user's runtime folder (localSocketPath), and a
// peer of another account (root passes file modes) is turned away and traced. A socket left
// behind by a killed client is replaced (claimSocketPath); one a running program listens on is
// left to it. The close message and the single-instance channel both listen through it.
//
// GUI thread only; peers are served from the event loop.
class PrivateLocalServer : public QObject {
    Q_OBJECT
public:
    // `traceName` begins the trace lines ("close message", "hand-over").
    explicit PrivateLocalServer(QString traceName, QObject* parent = nullptr);

    // Frees `path` when it holds a dead socket of the user's and listens there. Returns the
    // problem, the empty text once listening. Listening already: nothing happens.
    QString listen(const QString& path);
    // Stops listening and removes the socket; peers being served finish.
    void close();
    bool isListening() const;

Q_SIGNALS:
    // A peer of the user's has connected. The peer is a child of this server and is deleted
    // once it disconnects.
    void peerConnected(QLocalSocket* peer);

private:
    void acceptPeers();

    QString m_traceName;
    QLocalServer* m_server = nullptr;
};

} // namespace kovan
