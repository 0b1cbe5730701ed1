#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QByteArray;
class QLocalServer;

namespace kovan {

// The close message: another program (the installer, an updater) connects to the local socket
// "wm_closecoear" and writes that line; the client then takes its tray icon off and does
// nothing else. Where the socket lives and who may reach it is this class's business alone.
//
// GUI thread only; peers are served from the event loop.
class CloseMessageListener : public QObject {
    Q_OBJECT
public:
    static constexpr auto kCloseMessage = "wm_closecoear";

    // `onCloseMessage`: called once for every close line a peer writes. `serverName`: the
    // socket's name (other names keep tests away from a running client's socket).
    explicit CloseMessageListener(std::function<void()> onCloseMessage,
                                  QString serverName = QString::fromLatin1(kCloseMessage),
                                  QObject* parent = nullptr);

    // Starts listening; later calls do nothing. A listen that fails is traced and left at that.
    void registerCloseMessage();
    bool listening() const;

    // Whether a line a peer wrote is the close message: the exact text, surrounding white
    // space and the line end aside.
    static bool isCloseMessage(const QByteArray& line);

private:
    void servePeers();

    std::function<void()> m_onCloseMessage;
    QString m_serverName;
    QLocalServer* m_closeServer = nullptr;
};

} // namespace kovan
