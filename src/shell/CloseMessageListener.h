#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QByteArray;

namespace kovan {

class PrivateLocalServer;

// The close message: another program (the installer, an updater) connects to the local socket
// "wm_closecoear" in the user's runtime folder (localSocketPath) and writes that line; the
// client then takes its tray icon off and does nothing else. Only the same account reaches it
// (PrivateLocalServer).
//
// GUI thread only; peers are served from the event loop.
class CloseMessageListener : public QObject {
    Q_OBJECT
public:
    static constexpr auto kCloseMessage = "wm_closecoear";

    // `onCloseMessage`: called once for every close line a peer writes. `socketName`: the
    // socket's name in the runtime folder (other names keep tests away from a running client's
    // socket).
    explicit CloseMessageListener(std::function<void()> onCloseMessage,
                                  QString socketName = QString::fromLatin1(kCloseMessage),
                                  QObject* parent = nullptr);

    // Starts listening; later calls do nothing. A listen that fails (no runtime folder, a
    // path that is not a free socket of the user's) is traced and left at that.
    void registerCloseMessage();
    bool listening() const;

    // Whether a line a peer wrote is the close message: the exact text, surrounding white
    // space and the line end aside.
    static bool isCloseMessage(const QByteArray& line);

private:
    std::function<void()> m_onCloseMessage;
    QString m_socketName;
    PrivateLocalServer* m_closeServer = nullptr;
};

} // namespace kovan
