#include "media/GrowingFileIo.h"

#include "media/GrowingFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kovan {

namespace {
constexpr int kBufferSize = 64 * 1024;
}

GrowingFileIo::GrowingFileIo(std::shared_ptr<GrowingFile> file, int stallMs)
    : m_file(std::move(file)), m_stallMs(stallMs) {}

GrowingFileIo::~GrowingFileIo() {
    m_context.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool GrowingFileIo::open() {
    m_fd = ::open(QFile::encodeName(m_file->path()).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (!buffer)
        return false;
    m_context.reset(avio_alloc_context(buffer, kBufferSize, 0, this, &GrowingFileIo::readPacket,
                                       nullptr, &GrowingFileIo::seek));
    if (!m_context) {
        av_free(buffer);
        return false;
    }
    return true;
}

void GrowingFileIo::interrupt() {
    m_interrupt.store(true, std::memory_order_release);
    m_file->wake();
}

int GrowingFileIo::readPacket(void* opaque, uint8_t* buf, int size) {
    auto* self = static_cast<GrowingFileIo*>(opaque);
    for (;;) {
        const qint64 committed = self->m_file->committed();
        if (self->m_pos < committed) {
            const size_t want = size_t(std::min<qint64>(size, committed - self->m_pos));
            ssize_t n;
            do {
                n = ::pread(self->m_fd, buf, want, off_t(self->m_pos));
            } while (n < 0 && errno == EINTR);
            if (n < 0)
                return AVERROR(errno);
            if (n == 0)
                return AVERROR_EOF; // committed but gone from the disk (file replaced)
            self->m_pos += n;
            return int(n);
        }
        switch (self->m_file->waitBeyond(self->m_pos, self->m_interrupt, self->m_stallMs)) {
        case GrowingFile::Wait::Ready:
            continue;
        case GrowingFile::Wait::Ended:
            return AVERROR_EOF;
        case GrowingFile::Wait::Interrupted:
            return AVERROR_EXIT;
        case GrowingFile::Wait::TimedOut:
            return AVERROR(ETIMEDOUT);
        }
    }
}

int64_t GrowingFileIo::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<GrowingFileIo*>(opaque);
    const qint64 size = self->m_file->expectedSize();
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size >= 0 ? size : AVERROR(ENOSYS);
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += self->m_pos;
        break;
    case SEEK_END:
        if (size < 0)
            return AVERROR(ENOSYS);
        offset += size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < 0)
        return AVERROR(EINVAL);
    // Beyond what has arrived is fine: the next read waits for it.
    self->m_pos = offset;
    return offset;
}

} // namespace kovan
