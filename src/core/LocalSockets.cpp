#include "core/LocalSockets.h"

#include "core/PrivateFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovan {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The address of `path`; false when it does not fit (sun_path holds 107 bytes and a zero).
bool socketAddress(const QByteArray& path, sockaddr_un* address) {
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Whether a server listens on the socket at `path`: true, false, or the problem.
std::optional<bool> someoneListens(const QByteArray& path, QString* problem) {
    sockaddr_un address;
    if (!socketAddress(path, &address)) {
        *problem = QStringLiteral("too long for a socket address");
        return std::nullopt;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *problem = systemError(errno);
        return std::nullopt;
    }
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const int error = errno;
    ::close(fd);
    if (rc == 0 || error == EAGAIN || error == EINPROGRESS)
        return true; // EAGAIN: its backlog is full, it is alive all the same
    if (error == ECONNREFUSED)
        return false;
    *problem = QStringLiteral("cannot be checked (%1)").arg(systemError(error));
    return std::nullopt;
}

} // namespace

RuntimeFolder chooseRuntimeFolder(const QString& xdgRuntimeDir, const QString& ownFolder) {
    if (QDir::isAbsolutePath(xdgRuntimeDir) && checkPrivateFolder(xdgRuntimeDir).isEmpty())
        return {QDir::cleanPath(xdgRuntimeDir), {}};
    const QString problem = makePrivateFolder(ownFolder);
    if (!problem.isEmpty())
        return {{}, ownFolder + QStringLiteral(": ") + problem};
    return {QDir::cleanPath(ownFolder), {}};
}

RuntimeFolder userRuntimeFolder() {
    return chooseRuntimeFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"),
                               QDir::tempPath() +
                                   QStringLiteral("/kovan-runtime-%1").arg(::geteuid()));
}

QString localSocketPath(const QString& name, QString* problem) {
    const RuntimeFolder folder = userRuntimeFolder();
    QString why = folder.problem;
    QString path;
    if (why.isEmpty()) {
        path = folder.path + u'/' + name;
        sockaddr_un address;
        if (!socketAddress(QFile::encodeName(path), &address)) {
            why = path + QStringLiteral(": too long for a socket address");
            path.clear();
        }
    }
    if (problem)
        *problem = why;
    return path;
}

QString claimSocketPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? QString() : systemError(errno);
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a link");
    if (!S_ISSOCK(st.st_mode))
        return QStringLiteral("not a socket");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("owned by uid %1").arg(st.st_uid);
    QString problem;
    const std::optional<bool> live = someoneListens(name, &problem);
    if (!live)
        return problem;
    if (*live)
        return QStringLiteral("in use by a running program");
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return QStringLiteral("cannot be removed (%1)").arg(systemError(errno));
    return {};
}

std::optional<uid_t> localPeerUid(int fd) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof(peer))
        return std::nullopt;
    return peer.uid;
}

} // namespace kovan
