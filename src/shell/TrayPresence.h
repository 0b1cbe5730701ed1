#pragma once

#include <QObject>
#include <QTimer>

class QDBusServiceWatcher;

namespace kovan {

// Whether the desktop has a tray the icon can go into, and when that changes: a
// StatusNotifierWatcher (org.kde.StatusNotifierWatcher) on the session bus with a host
// registered (KDE, GNOME with AppIndicator, Xfce), or an XEmbed tray (the X selection
// _NET_SYSTEM_TRAY_S0, on the xcb platform only).
//
// It never calls QSystemTrayIcon: Qt decides D-Bus or XEmbed once per process at the first
// tray call, so the icon must not be made before a tray is known (see TrayIcon). The icon is
// wanted from the moment this object starts, so the first tray seen is the one Qt chooses: from
// then on only a tray of that kind counts (a StatusNotifier host when one was there, an XEmbed
// tray otherwise), since the icon can reach no other. The watcher's
// coming, going and host signals arrive from the bus; the XEmbed selection is read once a second
// (one X round trip) until the kind is settled on a StatusNotifier host. Without a
// session bus (sessionBusAddress) the bus is left alone: connecting would make libdbus launch a
// bus of its own.
//
// GUI thread only.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    explicit TrayPresence(QObject* parent = nullptr);
    ~TrayPresence() override;

    // Reads both kinds now, waiting for the bus at most a second; then follows them.
    void start();

    // A tray the icon can go into: of the kind settled, or of either kind before one was.
    bool available() const;

Q_SIGNALS:
    // available() changed.
    void changed(bool available);

private Q_SLOTS:
    void onHostSignal();

private:
    void readHostProperty(bool wait);
    void setStatusNotifier(bool on);
    void readXembed();
    void publish(bool before);
    void settleKind();

    enum class Kind { Unsettled, StatusNotifier, XEmbed };

    QDBusServiceWatcher* m_watcher = nullptr;
    QTimer m_xembedPoll;
    bool m_statusNotifier = false;
    bool m_xembed = false;
    unsigned m_xembedAtom = 0;
    Kind m_kind = Kind::Unsettled;
};

} // namespace kovan
