#include "media/GrowingFile.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovan {

GrowingFile::~GrowingFile() {
    close();
}

bool GrowingFile::create(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_path = path;
    const QByteArray native = QFile::encodeName(path);
    m_fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

bool GrowingFile::openComplete(const QString& path) {
    std::lock_guard lock(m_mutex);
    m_path = path;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    m_committed = st.st_size;
    m_announced = st.st_size;
    m_ended = true;
    return true;
}

void GrowingFile::announce(qint64 total) {
    std::lock_guard lock(m_mutex);
    m_announced = total > 0 ? total : -1;
}

bool GrowingFile::append(const char* data, qint64 size) {
    std::unique_lock lock(m_mutex);
    if (m_fd < 0)
        return false;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    m_committed += size;
    lock.unlock();
    m_cv.notify_all();
    return true;
}

void GrowingFile::finish(bool complete) {
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        if (complete && m_announced < 0)
            m_announced = m_committed;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    m_cv.notify_all();
}

void GrowingFile::close() {
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

qint64 GrowingFile::committed() const {
    std::lock_guard lock(m_mutex);
    return m_committed;
}

qint64 GrowingFile::announced() const {
    std::lock_guard lock(m_mutex);
    return m_announced;
}

bool GrowingFile::ended() const {
    std::lock_guard lock(m_mutex);
    return m_ended;
}

qint64 GrowingFile::expectedSize() const {
    std::lock_guard lock(m_mutex);
    if (m_announced > 0)
        return m_announced;
    return m_ended ? m_committed : -1;
}

GrowingFile::Wait GrowingFile::waitBeyond(qint64 pos, const std::atomic<bool>& interrupt,
                                          int stallMs) const {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(m_mutex);
    qint64 seen = m_committed;
    Clock::time_point lastGrowth = Clock::now();
    for (;;) {
        if (interrupt.load(std::memory_order_acquire))
            return Wait::Interrupted;
        if (m_committed > pos)
            return Wait::Ready;
        if (m_ended)
            return Wait::Ended;
        if (m_committed != seen) {
            seen = m_committed;
            lastGrowth = Clock::now();
        }
        if (stallMs > 0 && Clock::now() - lastGrowth > std::chrono::milliseconds(stallMs))
            return Wait::TimedOut;
        // Short slices: an interrupt set without the lock is noticed within one.
        m_cv.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void GrowingFile::wake() const {
    { std::lock_guard lock(m_mutex); }
    m_cv.notify_all();
}

} // namespace kovan
