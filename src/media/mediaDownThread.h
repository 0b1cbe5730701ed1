#pragma once

#include "threads/WorkerThread.h"

#include <QString>

#include <atomic>
#include <memory>

namespace kovan {

class GrowingFile;

// Downloads one video into its cache file (a GrowingFile the window created), so that the
// player can read it while it arrives. The HTTP client keeps cookies, does not follow
// redirects, gives up after 60 s without connecting or without a byte, and has no limit on
// the whole transfer or the body size (the body goes straight to the file).
//
// Progress is announced through three signals, emitted on the download thread and delivered
// queued to receivers on the GUI thread: DownBegin (the announced total, -1 when none) once
// the first bytes are in the file, DownWork (the bytes in the file) at each progress step,
// DownEnd when the download has ended in any way.
//
// cancelAtNextProgress() (GUI thread) makes the next progress step end the download; the
// exit procedure's requestStop() ends it at once. Either way the file keeps what arrived.
class mediaDownThread : public SelfFreeingWorker<mediaDownThread> {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 60000;

    mediaDownThread(const QString& url, std::shared_ptr<GrowingFile> file,
                    QObject* parent = nullptr);
    ~mediaDownThread() override;

    // Before start().
    void setTimeoutsMs(int connectMs, int readMs);

    const QString& reqUrl() const { return m_reqUrl; }
    // Whether the HTTP client exists (the download runs). Any thread.
    bool hasClient() const { return m_hasClient.load(std::memory_order_acquire); }
    // GUI thread: the tag 99 of the HTTP client: end at the next progress step.
    void cancelAtNextProgress() { m_tag.store(99, std::memory_order_release); }
    // For the termination handler: the body arrived whole.
    bool complete() const { return m_complete; }

Q_SIGNALS:
    void DownBegin(qint64 total);
    void DownWork(qint64 received);
    void DownEnd();

protected:
    void run() override;

private:
    QString m_reqUrl;
    std::shared_ptr<GrowingFile> m_file;
    std::atomic<bool> m_hasClient{false};
    std::atomic<int> m_tag{0};
    bool m_complete = false;
    int m_connectTimeoutMs = kTimeoutMs;
    int m_readTimeoutMs = kTimeoutMs;
};

} // namespace kovan
