#include "DesktopParts.h"

#include "WaitUntil.h"

#include <QFile>
#include <QStandardPaths>

namespace kovan::test {

bool OwnedProcess::start(const QString& program, const QStringList& args,
                         const QProcessEnvironment& env, QString* why) {
    stop();
    if (QStandardPaths::findExecutable(program).isEmpty() && !QFile::exists(program)) {
        *why = program + QStringLiteral(" is not installed (scripts/deps installs it)");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->start(program, args);
    if (!m_process->waitForStarted(10000)) {
        *why = program + QStringLiteral(" did not start: ") + m_process->errorString();
        m_process.reset();
        return false;
    }
    return true;
}

void OwnedProcess::stop() {
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    output(); // keep what it printed for a later failure message
    m_process.reset();
}

QString OwnedProcess::output() {
    if (m_process) {
        m_out += m_process->readAllStandardOutput();
        m_err += m_process->readAllStandardError();
    }
    return QString::fromLocal8Bit(m_out + m_err);
}

bool SessionBus::start(QString* why) {
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder for the bus");
        return false;
    }
    m_address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!m_daemon.start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--nopidfile"), QStringLiteral("--address=") + m_address},
                        env, why))
        return false;
    // Ready once a client can ask the bus itself who owns its own name.
    if (!waitForService(QStringLiteral("org.freedesktop.DBus"), 10000)) {
        *why = QStringLiteral("the session bus did not come up: ") + m_daemon.output();
        return false;
    }
    return true;
}

QProcessEnvironment SessionBus::environment(QProcessEnvironment env) const {
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return env;
}

bool SessionBus::hasOwner(const QString& service) const {
    // dbus-send keeps the test program itself off the bus: Qt's session connection is made
    // once per process, and tests start and stop buses of their own.
    QProcess send;
    send.setProcessEnvironment(environment());
    send.start(
        QStringLiteral("dbus-send"),
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
         QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
         QStringLiteral("org.freedesktop.DBus.NameHasOwner"), QStringLiteral("string:") + service});
    if (!send.waitForFinished(5000) || send.exitCode() != 0)
        return false;
    return send.readAllStandardOutput().contains("boolean true");
}

bool SessionBus::waitForService(const QString& service, int ms) const {
    return waitUntil([&] { return hasOwner(service); }, ms);
}

bool NotificationDaemon::start(const SessionBus& bus, QString* why) {
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder for the log");
        return false;
    }
    // Debian's interpreter, where python3-dbusmock is installed (a python3 earlier on PATH, a
    // pyenv's say, has not got it).
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    if (!m_process.start(python,
                         {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                          QStringLiteral("--session"), QStringLiteral("-t"),
                          QStringLiteral("notification_daemon"), QStringLiteral("-l"), logPath()},
                         bus.environment(), why))
        return false;
    if (!bus.waitForService(QStringLiteral("org.freedesktop.Notifications"), 15000)) {
        *why = QStringLiteral("the notification daemon did not come up (python3-dbusmock?): ") +
               m_process.output();
        return false;
    }
    return true;
}

QStringList NotificationDaemon::notifyLines() const {
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (line.contains("Notify"))
            lines.append(QString::fromUtf8(line));
    return lines;
}

} // namespace kovan::test
