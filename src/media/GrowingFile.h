#pragma once

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace kovan {

// A cache file being written by a download while the player reads it: the write side
// (`videoWriteStream`) and the count of bytes committed so far. The reader never trusts the
// file's size on disk, only committed().
//
// Threads: created on the GUI thread; append/announce/finish on the download thread; close()
// from the GUI thread (a later append fails, which ends the download); the waits on the
// player's reading thread. One mutex guards everything.
class GrowingFile {
public:
    enum class Wait { Ready, Ended, Interrupted, TimedOut };

    GrowingFile() = default;
    ~GrowingFile();
    GrowingFile(const GrowingFile&) = delete;
    GrowingFile& operator=(const GrowingFile&) = delete;

    // Creates (or empties) `path` for writing. False when it cannot be written.
    bool create(const QString& path);
    // A file already complete on disk: nothing is written, everything is committed.
    bool openComplete(const QString& path);
    const QString& path() const { return m_path; }

    // Download thread: the size the server announced (-1 when none).
    void announce(qint64 total);
    // Download thread: writes and commits `size` bytes; false when the write failed or the
    // file was closed.
    bool append(const char* data, qint64 size);
    // Download thread: no more bytes will come (`complete` when the body arrived whole).
    void finish(bool complete);
    // Any thread: closes the write side; later appends fail.
    void close();

    qint64 committed() const;
    qint64 announced() const;
    bool ended() const;
    // The size a reader should assume: the announced total, or the committed bytes once the
    // download has ended; -1 when neither is known.
    qint64 expectedSize() const;

    // Reader: waits until more than `pos` bytes are committed (Ready), the download has ended
    // with none beyond `pos` (Ended), `interrupt` is set (Interrupted) or `stallMs` passed
    // without a new byte (TimedOut; 0 = no limit).
    Wait waitBeyond(qint64 pos, const std::atomic<bool>& interrupt, int stallMs) const;
    // Wakes waiting readers (after setting their interrupt flag).
    void wake() const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cv;
    QString m_path;
    int m_fd = -1;
    qint64 m_committed = 0;
    qint64 m_announced = -1;
    bool m_ended = false;
};

} // namespace kovan
