#pragma once

#include "threads/WorkerThread.h"

#include <QString>

namespace kovan {

// Downloads one file of the page server: GET <page server root>/ + srcFile, and when the body
// holds at least one byte, writes it to dstFile (created or replaced as a whole). Failures
// (no server, HTTP error status, empty body, a file that cannot be written) leave no file and
// show nothing; the termination handler runs in every case.
//
//     auto* w = new rfdThread(QStringLiteral("/filelist/sound/alert.wav"), localPath, root);
//     w->setTerminationHandler(this, [this](rfdThread* sender) { audioDown(sender); });
//     w->start();
//
// The root ends in "/", so a srcFile that begins with "/" gives a path that begins with "//";
// it is sent as written. Threads: construct and start on the GUI thread; the accessors are for
// the termination handler.
class rfdThread : public SelfFreeingWorker<rfdThread> {
    Q_OBJECT
public:
    static constexpr int kDefaultConnectTimeoutMs = 15000;
    static constexpr int kDefaultReadTimeoutMs = 30000;
    // A larger file is a failed download (sounds are a few hundred kilobytes).
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    // `pageServerRoot`: "http://host:port".
    rfdThread(const QString& src, const QString& dst, const QString& pageServerRoot,
              QObject* parent = nullptr);
    ~rfdThread() override;

    // Before start().
    void setTimeoutsMs(int connectMs, int readMs);

    const QString& srcFile() const { return m_srcFile; }
    const QString& dstFile() const { return m_dstFile; }
    const QString& requestUrl() const { return m_url; }
    // Whether the file was written.
    bool stored() const { return m_stored; }

protected:
    void run() override;

private:
    QString m_srcFile;
    QString m_dstFile;
    QString m_root; // "http://host:port/"
    QString m_url;
    bool m_stored = false;
    int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int m_readTimeoutMs = kDefaultReadTimeoutMs;
};

} // namespace kovan
