#pragma once

#include "media/FfmpegHandles.h"

#include <QString>

#include <atomic>
#include <memory>

namespace kovan {

class GrowingFile;

// The player's custom AVIOContext over a cache file that may still be growing
// (`videoReadStream`). A read at the moving end waits for the download (more bytes, its end,
// an interrupt, or `stallMs` without a byte), because FFmpeg treats a short or empty answer
// as the end of the stream for good. The size asked with AVSEEK_SIZE is the announced total.
//
// Threads: the callbacks run on the player's demux thread; interrupt()/clearInterrupt() come
// from any thread (an interrupted wait answers AVERROR_EXIT).
class GrowingFileIo {
public:
    GrowingFileIo(std::shared_ptr<GrowingFile> file, int stallMs);
    ~GrowingFileIo(); // closes the read descriptor; the AVIOContext goes with its owner
    GrowingFileIo(const GrowingFileIo&) = delete;
    GrowingFileIo& operator=(const GrowingFileIo&) = delete;

    // Opens the file for reading and makes the context. False when either fails.
    bool open();
    AVIOContext* context() const { return m_context.get(); }

    void interrupt();
    void clearInterrupt() { m_interrupt.store(false, std::memory_order_release); }
    // Bytes handed to FFmpeg so far (tests, diagnostics).
    qint64 position() const { return m_pos; }

private:
    static int readPacket(void* opaque, uint8_t* buf, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    std::shared_ptr<GrowingFile> m_file;
    int m_stallMs;
    int m_fd = -1;
    qint64 m_pos = 0; // demux thread only
    std::atomic<bool> m_interrupt{false};
    AVIOContextPtr m_context;
};

} // namespace kovan
