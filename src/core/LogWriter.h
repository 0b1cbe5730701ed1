#pragma once

#include <QDateTime>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kovan {

// Appends event lines to the day's log file in one folder (<dir>/logs/kovan-YYYYMMDD.log, see
// LogFormat.h) and keeps at most `keepFiles` such files, removing the oldest.
//
// append() may be called from any thread and never waits for the file: it stamps the line,
// puts it in a bounded queue and returns; a writer thread of its own (started by the
// constructor, joined by stop() or the destructor) writes the queue out. When the queue is
// full, new lines are counted and dropped, and a note of how many is written with the next
// batch. While the folder does not exist (start-up creates it), lines wait in the queue.
// The owner must stop the writer before the process ends (never left to static destruction).
class LogWriter {
public:
    struct Options {
        int keepFiles = 10;
        int maxQueued = 1000;
        std::function<QDateTime()> now; // the clock; empty: the local wall clock
        // Runs on the writer thread before each batch is written (tests hold the writer here).
        std::function<void()> beforeWrite;
    };

    explicit LogWriter(QString folder);
    LogWriter(QString folder, Options options);
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Any thread. Lines appended after stop() are dropped.
    void append(const QString& text);

    // Writes what is queued (when the folder exists), then ends and joins the writer thread.
    // Idempotent. Not from the writer thread.
    void stop();

    // Lines dropped so far because the queue was full. Any thread.
    qint64 droppedTotal() const;

private:
    struct Entry {
        QDateTime at;
        QString text;
    };

    void run();
    // Writes `batch` in order; returns how many of its entries reached a file.
    size_t write(const std::deque<Entry>& batch);
    void prune(const QString& current);

    const QString m_folder;
    const Options m_options;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Entry> m_queue; // stays until written: its size is the bound
    qint64 m_dropped = 0;      // not yet reported in a file
    qint64 m_droppedTotal = 0;
    bool m_pending = false;
    bool m_stopping = false;

    QString m_lastFile; // writer thread only: the file the previous batch went to

    std::thread m_thread; // last: starts after the members above exist
};

} // namespace kovan
