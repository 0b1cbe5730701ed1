#include "core/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kovan {

namespace {

constexpr mode_t kGroupAndOthers = S_IRWXG | S_IRWXO;

QString modeText(mode_t mode) {
    return QString::number(mode & 07777, 8).rightJustified(4, u'0');
}

} // namespace

bool keepToOwner(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    if ((st.st_mode & 07777) == kOwnerOnlyFileMode)
        return true;
    return ::fchmod(fd, kOwnerOnlyFileMode) == 0;
}

QString checkPrivateFolder(const struct stat& st, uid_t self) {
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a link");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("not a folder");
    if (st.st_uid != self)
        return QStringLiteral("owned by uid %1").arg(st.st_uid);
    if (st.st_mode & kGroupAndOthers)
        return QStringLiteral("open to group or others (mode %1)").arg(modeText(st.st_mode));
    return {};
}

QString checkPrivateFolder(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? QStringLiteral("missing")
                               : QString::fromLocal8Bit(std::strerror(errno));
    return checkPrivateFolder(st, ::geteuid());
}

QString makePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), kOwnerOnlyFolderMode) == 0)
        ::chmod(name.constData(), kOwnerOnlyFolderMode); // the umask may have taken bits away
    else if (errno != EEXIST)
        return QStringLiteral("cannot be made: ") + QString::fromLocal8Bit(std::strerror(errno));
    return checkPrivateFolder(path);
}

bool makeFolder(const QString& path) {
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    struct stat parent {};
    const bool ownerOnly =
        ::stat(QFile::encodeName(QFileInfo(target).path()).constData(), &parent) == 0 &&
        S_ISDIR(parent.st_mode) && (parent.st_mode & kGroupAndOthers) == 0;
    const QByteArray name = QFile::encodeName(target);
    if (::mkdir(name.constData(), ownerOnly ? kOwnerOnlyFolderMode : 0777) == 0) {
        if (ownerOnly)
            ::chmod(name.constData(), kOwnerOnlyFolderMode); // the umask may have taken bits
        return true;
    }
    return QFileInfo(target).isDir();
}

bool makeFolders(const QString& path) {
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // The missing folders, outermost first, below the nearest one that exists.
    QStringList missing;
    for (QString at = target; !QFileInfo(at).isDir(); at = QFileInfo(at).path()) {
        if (QFileInfo(at).path() == at)
            return false;
        missing.prepend(at);
    }
    for (const QString& folder : missing) {
        if (!makeFolder(folder))
            return false;
    }
    return true;
}

} // namespace kovan
