#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kovan::test {

// The pieces of a real desktop a test starts for itself: a private session bus, the daemons
// that sit on it, a window manager. Each piece is a child process that ends with its object
// (terminated, then killed after a grace time), so a failing test leaves nothing running. None of
// them assumes anything runs beforehand; start() says why when a piece cannot start (a missing
// program: the tests' set-up installs them through scripts/deps).

// A child process the test owns: ended and waited for in the destructor. Its standard output
// and error are kept (readAll) for failure messages.
class OwnedProcess {
public:
    OwnedProcess() = default;
    ~OwnedProcess() { stop(); }
    OwnedProcess(const OwnedProcess&) = delete;
    OwnedProcess& operator=(const OwnedProcess&) = delete;

    // Starts `program` with `args` in `env`; false with the reason in `why` when it did not.
    bool start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
               QString* why);
    void stop();
    bool running() const { return m_process && m_process->state() != QProcess::NotRunning; }
    // Everything the process printed so far (stdout then stderr), for failure messages.
    QString output();
    QProcess* process() { return m_process.get(); }

private:
    std::unique_ptr<QProcess> m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// A private session bus (dbus-daemon --session) on a socket in its own folder.
class SessionBus {
public:
    // Starts the daemon and waits until it accepts connections; false with the reason.
    bool start(QString* why);
    // The address for DBUS_SESSION_BUS_ADDRESS, "unix:path=…".
    QString address() const { return m_address; }
    // `env` with DBUS_SESSION_BUS_ADDRESS pointing at this bus.
    QProcessEnvironment
    environment(QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) const;
    // Waits (up to `ms`) until `service` has an owner on this bus.
    bool waitForService(const QString& service, int ms = 10000) const;
    // Whether `service` has an owner now.
    bool hasOwner(const QString& service) const;

private:
    QTemporaryDir m_dir;
    QString m_address;
    OwnedProcess m_daemon;
};

// The notification service org.freedesktop.Notifications as python3-dbusmock's
// notification_daemon template: each Notify call becomes one line of its log.
class NotificationDaemon {
public:
    bool start(const SessionBus& bus, QString* why);
    void stop() { m_process.stop(); }
    // The log's lines so far, one per Notify call (app name, replaces id, icon, summary, body,
    // actions, hints as JSON, timeout, as dbusmock writes them).
    QStringList notifyLines() const;
    QString logPath() const { return m_dir.filePath(QStringLiteral("notify.log")); }

private:
    QTemporaryDir m_dir;
    OwnedProcess m_process;
};

// A StatusNotifierWatcher (org.kde.StatusNotifierWatcher at /StatusNotifierWatcher) in a few
// lines of python3-dbus, as a panel's would be: its introspection lists its properties (Qt reads
// IsStatusNotifierHostRegistered through it), the property reads true, and every
// RegisterStatusNotifierItem call becomes a line of its log, with the milliseconds since the
// watcher took its name.
class StatusNotifierWatcher {
public:
    bool start(const SessionBus& bus, QString* why);
    // The panel ends: the name leaves the bus.
    void stop();
    // The item services registered so far, in order.
    QStringList registeredItems() const;
    // Milliseconds from the watcher's name on the bus to the first registration; -1: none yet.
    qint64 firstRegistrationMs() const;

private:
    QStringList logLines() const;
    QTemporaryDir m_dir;
    OwnedProcess m_process;
    const SessionBus* m_bus = nullptr;
};

// `gdbus call --session` on `bus` with `args` (--dest, --object-path, --method, arguments);
// the reply as gdbus prints it, or nothing with the reason in `why`.
QString gdbusCall(const SessionBus& bus, const QStringList& args, QString* why = nullptr);
// The labels of a com.canonical.dbusmenu menu's GetLayout reply, in order, with their ids.
struct DbusMenuItem {
    int id = 0;
    QString label;
    int toggleState = -1; // -1: no check item
};
QList<DbusMenuItem> dbusMenuItems(const QString& getLayoutReply);

// A virtual X server of the test's own (Xvfb, display chosen by the server), so a window
// manager started on it touches no other test's windows.
class XServer {
public:
    bool start(QString* why);
    QString display() const { return m_display; } // ":N"
    // `env` with DISPLAY set to this server.
    QProcessEnvironment
    environment(QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) const;

private:
    OwnedProcess m_process;
    QString m_display;
};

// An XEmbed system tray as old panels have it (the freedesktop System Tray protocol): owns the
// selection _NET_SYSTEM_TRAY_S0 on an XServer, announces itself with a MANAGER message, and
// records the icon windows that ask to be docked. It embeds nothing: the request is the icon's
// registration. Runs on the test's own thread; its events are read when asked.
class XEmbedTray {
public:
    XEmbedTray() = default;
    ~XEmbedTray() { stop(); }
    XEmbedTray(const XEmbedTray&) = delete;
    XEmbedTray& operator=(const XEmbedTray&) = delete;

    bool start(const XServer& x, QString* why);
    // The tray ends: its window and the selection go.
    void stop();
    // X windows that asked to be docked so far.
    QList<quint32> dockRequests();

private:
    struct Connection;
    Connection* m_c = nullptr;
    QList<quint32> m_docked;
};

// openbox on an XServer, up once `wmctrl -m` names it.
class WindowManager {
public:
    bool start(const XServer& x, QString* why);
    // `wmctrl -l` lines: the windows the manager lists.
    QStringList listedWindows() const;
    // The X window id (as wmctrl prints it, "0x…") of the listed window titled `title`.
    QString windowId(const QString& title) const;
    // `xprop -id id _NET_WM_STATE` as printed.
    QString netWmState(const QString& id) const;

private:
    QString run(const QString& program, const QStringList& args) const;
    const XServer* m_x = nullptr;
    OwnedProcess m_process;
};

} // namespace kovan::test
