#pragma once

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

} // namespace kovan::test
