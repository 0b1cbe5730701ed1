#include "core/FolderLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kovan {

namespace {

// Both texts are as long, so a phase change is one write over the other.
constexpr char kStarting[] = "starting\n";
constexpr char kEnding[] = "ending  \n";
static_assert(sizeof(kStarting) == sizeof(kEnding));

} // namespace

FolderLock::FolderLock(QString path) : m_path(std::move(path)) {}

FolderLock::~FolderLock() {
    release();
}

bool FolderLock::tryTake() {
    m_busy = false;
    if (m_fd >= 0)
        return true;
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_problem = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_busy = errno == EWOULDBLOCK;
        m_problem = m_busy ? QStringLiteral("held by another client")
                           : QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_problem.clear();
    if (::ftruncate(m_fd, 0) != 0) {
        // The phase then reads as it did; another start treats an unclear phase as starting.
    }
    setPhase(Phase::Starting);
    return true;
}

void FolderLock::setPhase(Phase phase) {
    if (m_fd < 0 || phase == Phase::Unknown)
        return;
    const char* text = phase == Phase::Starting ? kStarting : kEnding;
    if (::pwrite(m_fd, text, sizeof(kStarting) - 1, 0) < 0) {
        // Unwritten, the phase reads Unknown or stale; the lock alone still keeps the folder.
    }
}

void FolderLock::release() {
    if (m_fd < 0)
        return;
    ::close(m_fd); // the flock goes with the last descriptor
    m_fd = -1;
}

FolderLock::Phase FolderLock::readPhase(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Phase::Unknown;
    const QByteArray text = file.read(32);
    if (text == kStarting)
        return Phase::Starting;
    if (text == kEnding)
        return Phase::Ending;
    return Phase::Unknown;
}

} // namespace kovan
