#include "core/SharedBlock.h"

#include "core/JsonParams.h"
#include "core/ProgramState.h"

#include <QByteArray>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovan {

namespace {

QByteArray shmName(const QString& name) {
    return "/" + name.toUtf8();
}

QString modeText(mode_t mode) {
    return QString::number(mode & 07777, 8).rightJustified(4, u'0');
}

// Why shm_open failed on a name that exists. glibc opens with O_NOFOLLOW (a link gives ELOOP)
// and reports a folder as EINVAL.
QString openProblem(int error) {
    if (error == ELOOP)
        return QStringLiteral("a link");
    if (error == EINVAL || error == EISDIR)
        return QStringLiteral("not a shared-memory object");
    return QStringLiteral("cannot be opened (%1)")
        .arg(QString::fromLocal8Bit(std::strerror(error)));
}

// The publisher's new object "/" + name, created exclusively with mode 0600 whatever the umask.
// A block of the caller's own is removed first, so nobody who held the old one open reaches
// the new one; anything else of that name stays. -1 with the reason when the name is taken.
int createOwnBlock(const QByteArray& name, QString* problem) {
    const int existing = ::shm_open(name.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY, 0);
    if (existing >= 0) {
        struct stat st {};
        const bool own = ::fstat(existing, &st) == 0 && st.st_uid == ::geteuid();
        ::close(existing);
        if (!own) {
            *problem = QStringLiteral("the block belongs to uid %1").arg(st.st_uid);
            return -1;
        }
        ::shm_unlink(name.constData());
    } else if (errno != ENOENT) {
        *problem = openProblem(errno);
        return -1;
    }
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        *problem = errno == EEXIST ? QStringLiteral("the name was taken meanwhile")
                                   : QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    ::fchmod(fd, 0600);
    return fd;
}

} // namespace

QString defaultSessionBlockName() {
    return QStringLiteral("KOVANUSERSHARE.%1").arg(::geteuid());
}

QString checkPrivateSharedObject(const struct stat& st, uid_t self) {
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("not a shared-memory object");
    if (st.st_uid != self)
        return QStringLiteral("owned by uid %1").arg(st.st_uid);
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("writable by group or others (mode %1)").arg(modeText(st.st_mode));
    if (st.st_size > kMaxSessionBlockBytes)
        return QStringLiteral("larger than %1 bytes").arg(kMaxSessionBlockBytes);
    return {};
}

QString checkPrivateSharedObject(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return checkPrivateSharedObject(st, ::geteuid());
}

SessionBlockRead readSessionBlock(const QString& name) {
    SessionBlockRead result;
    // Non-blocking: a FIFO of that name never holds the client up (it is refused below).
    const int fd = ::shm_open(shmName(name).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY, 0);
    if (fd < 0) {
        if (errno != ENOENT) {
            result.status = SessionBlockRead::Status::Refused;
            result.problem = openProblem(errno);
        }
        return result;
    }
    struct stat st {};
    result.problem = ::fstat(fd, &st) == 0 ? checkPrivateSharedObject(st, ::geteuid())
                                           : QString::fromLocal8Bit(std::strerror(errno));
    if (!result.problem.isEmpty()) {
        ::close(fd);
        result.status = SessionBlockRead::Status::Refused;
        return result;
    }
    void* view = MAP_FAILED;
    if (st.st_size > 0)
        view = ::mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (view == MAP_FAILED) {
        result.status = SessionBlockRead::Status::Unmappable;
        return result;
    }
    // The view stays mapped until the process ends.
    result.status = SessionBlockRead::Status::Ok;
    result.text = sessionBlockText(static_cast<const char16_t*>(view), size_t(st.st_size) / 2);
    return result;
}

QString sessionBlockText(const char16_t* units, size_t count) {
    const size_t limit = std::min(count, kMaxSessionTextUnits);
    size_t n = 0;
    while (n < limit && units[n] != 0)
        ++n;
    return QString::fromUtf16(units, qsizetype(n));
}

PublishedSession parsePublishedSession(const QString& text) {
    const QJsonObject session = parseJsonObject(text);
    PublishedSession s;
    s.uid = jsonInt(session, u"UID");
    s.sessid = jsonText(session, u"sessid");
    s.usable = s.uid > 0 && isUsableSessid(s.sessid);
    return s;
}

bool publishSessionBlock(const QString& name, const QString& text, QString* problem) {
    QString why;
    const int fd = createOwnBlock(shmName(name), &why);
    if (problem)
        *problem = why;
    if (fd < 0)
        return false;
    // Units in little-endian order followed by a zero unit; this is a little-endian machine.
    const size_t bytes = (size_t(text.size()) + 1) * 2;
    const size_t size = std::max<size_t>(bytes, 4096);
    bool ok = ::ftruncate(fd, off_t(size)) == 0;
    if (ok) {
        void* view = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ok = view != MAP_FAILED;
        if (ok) {
            std::memset(view, 0, size);
            std::memcpy(view, text.utf16(), bytes - 2);
            ::munmap(view, size);
        }
    }
    ::close(fd);
    return ok;
}

void removeSessionBlock(const QString& name) {
    ::shm_unlink(shmName(name).constData());
}

InstanceMarker::InstanceMarker() {
    // A client that is ending may unlink the object between our open and our lock; then the
    // inode we locked is no longer the one the name points at and we start over.
    for (int attempt = 0; attempt < 5 && m_fd < 0; ++attempt) {
        const int fd = ::shm_open(kName, O_RDWR | O_CREAT, 0666);
        if (fd < 0)
            return;
        struct stat mine {
        }, named{};
        const bool locked = ::flock(fd, LOCK_SH) == 0;
        const int again = ::shm_open(kName, O_RDWR, 0);
        const bool same = again >= 0 && ::fstat(fd, &mine) == 0 && ::fstat(again, &named) == 0 &&
                          mine.st_ino == named.st_ino;
        if (again >= 0)
            ::close(again);
        if (!locked || !same) {
            ::close(fd);
            continue;
        }
        if (mine.st_size < 4 && ::ftruncate(fd, 4) != 0) {
            ::close(fd);
            return;
        }
        void* view = ::mmap(nullptr, 4, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED) {
            ::close(fd);
            return;
        }
        m_view = view; // a new object is zero-filled: its value starts at 0
        m_fd = fd;
    }
}

InstanceMarker::~InstanceMarker() {
    release();
}

void InstanceMarker::release() {
    if (m_fd < 0)
        return;
    ::munmap(m_view, 4);
    m_view = nullptr;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        ::shm_unlink(kName);
    ::close(m_fd);
    m_fd = -1;
}

bool InstanceMarker::exists() {
    const int fd = ::shm_open(kName, O_RDONLY, 0);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace kovan
