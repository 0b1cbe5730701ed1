#include "core/SharedBlock.h"

#include "core/JsonParams.h"
#include "core/ProgramState.h"

#include <QByteArray>

#include <algorithm>

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

} // namespace

SessionBlockRead readSessionBlock(const QString& name) {
    SessionBlockRead result;
    const int fd = ::shm_open(shmName(name).constData(), O_RDWR, 0);
    if (fd < 0)
        return result;
    struct stat st {};
    void* view = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
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

bool publishSessionBlock(const QString& name, const QString& text) {
    const QByteArray n = shmName(name);
    const int fd = ::shm_open(n.constData(), O_RDWR | O_CREAT, 0600);
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
