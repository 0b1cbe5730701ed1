#include "core/ProgramDirChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace kovan {

namespace {

QString withSlash(QString dir) {
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

ProgramDirFacts ProgramDirFacts::probe(const QString& dirOption, const QString& executableDir) {
    ProgramDirFacts f;
    f.dirOption = dirOption;
    f.executableDir = executableDir;
    f.shareFolderExists = QFileInfo(executableDir + QStringLiteral("/../share/kovan")).isDir();
    f.executableDirWritable = QFileInfo(executableDir).isWritable();
    f.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    f.home = qEnvironmentVariable("HOME");
    return f;
}

ProgramDirChoice ProgramDirChoice::decide(const ProgramDirFacts& f) {
    if (!f.dirOption.isEmpty())
        return {Kind::Option, withSlash(f.dirOption)};
    const ProgramDirChoice own{Kind::ExecutableFolder, withSlash(f.executableDir)};
    const bool installed = QDir(f.executableDir).dirName() == u"bin" && f.shareFolderExists;
    if (!installed && f.executableDirWritable)
        return own;
    // Relative paths in XDG_DATA_HOME do not count (the XDG base directory rules).
    QString dataHome = QDir::isAbsolutePath(f.xdgDataHome) ? f.xdgDataHome : QString();
    if (dataHome.isEmpty()) {
        if (!QDir::isAbsolutePath(f.home))
            return own;
        dataHome = withSlash(f.home) + QStringLiteral(".local/share");
    }
    return {Kind::PerUser, withSlash(QDir::cleanPath(dataHome)) + QStringLiteral("kovan/")};
}

bool ProgramDirChoice::prepare(const QString& companionSource) const {
    if (kind != Kind::PerUser)
        return true;
    if (!QFileInfo(dir).isDir()) {
        if (!QDir().mkpath(dir))
            return false;
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString companion = dir + QStringLiteral("zrs");
    if (!QFileInfo::exists(companion) && QFileInfo(companionSource).isFile()) {
        // Copied under a temporary name and renamed, so a half-written companion is never
        // started.
        const QString part = companion + QStringLiteral(".part");
        QFile::remove(part);
        if (QFile::copy(companionSource, part)) {
            QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (!QFile::rename(part, companion))
                QFile::remove(part);
        }
    }
    return true;
}

QString ProgramDirChoice::otherAccountProblem(const QString& dir, uid_t self) {
    struct stat st {};
    if (::stat(QFile::encodeName(dir).constData(), &st) != 0 || st.st_uid == self)
        return {};
    return QStringLiteral("the program folder %1 belongs to another account (uid %2); each "
                          "account runs the client in a folder of its own (--dir DIR)")
        .arg(dir)
        .arg(st.st_uid);
}

} // namespace kovan
