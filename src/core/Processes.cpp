#include "core/Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace kovan {

bool killProcessesByName(const QString& path) {
    const QString wholeName = path.toUpper();
    const QString fileName = QFileInfo(path).fileName().toUpper();
    const qint64 self = ::getpid();
    bool lastOk = false;
    const QStringList entries =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        const QString base = QStringLiteral("/proc/") + entry;
        const QString exeName =
            QFileInfo(QFile::symLinkTarget(base + QStringLiteral("/exe"))).fileName().toUpper();
        QFile commFile(base + QStringLiteral("/comm"));
        QString comm;
        if (commFile.open(QIODevice::ReadOnly))
            comm = QString::fromUtf8(commFile.readAll()).trimmed().toUpper();
        const auto matches = [&](const QString& name) {
            return !name.isEmpty() && (name == fileName || name == wholeName);
        };
        if (!matches(exeName) && !matches(comm))
            continue;
        lastOk = ::kill(pid_t(pid), SIGKILL) == 0;
    }
    return lastOk;
}

bool startCompanion(const QString& program, const QString& workingDir) {
    return QProcess::startDetached(program, {QStringLiteral("1")}, workingDir);
}

bool shellMoveFile(const QString& from, const QString& to) {
    QFile::remove(to);
    if (QFile::rename(from, to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    QFile::setPermissions(to, QFile::permissions(from));
    return QFile::remove(from);
}

} // namespace kovan
