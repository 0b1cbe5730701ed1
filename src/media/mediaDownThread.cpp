#include "media/mediaDownThread.h"

#include "media/GrowingFile.h"
#include "net/HttpClient.h"

namespace kovan {

mediaDownThread::mediaDownThread(const QString& url, std::shared_ptr<GrowingFile> file,
                                 QObject* parent)
    : SelfFreeingWorker(parent), m_reqUrl(url), m_file(std::move(file)) {}

mediaDownThread::~mediaDownThread() {
    joinThread(); // run() uses the members
}

void mediaDownThread::setTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

void mediaDownThread::run() {
    bool complete = false;
    try {
        HttpClient client; // cookies on, redirects not followed (libcurl's default)
        client.setConnectTimeoutMs(m_connectTimeoutMs);
        client.setReadTimeoutMs(m_readTimeoutMs);
        client.setTotalTimeoutMs(0); // a long video may take as long as it takes
        bool begun = false;
        qint64 total = -1;
        client.setBodySink(
            [this](const char* data, qsizetype size) { return m_file->append(data, size); });
        client.setProgressHook([&](qint64, qint64 announced) {
            if (m_tag.load(std::memory_order_acquire) == 99)
                return false; // closed window: the download ends here
            const qint64 inFile = m_file->committed();
            if (inFile <= 0)
                return true;
            if (!begun) {
                begun = true;
                total = announced;
                m_file->announce(total);
                Q_EMIT DownBegin(total);
            }
            Q_EMIT DownWork(inFile);
            return true;
        });
        const CancelGuard cancelGuard = cancelOnStop([&client] { client.cancel(); });
        m_hasClient.store(true, std::memory_order_release);
        const HttpReply reply = client.get(m_reqUrl);
        m_hasClient.store(false, std::memory_order_release);
        // A redirect reply is not the video: what came with it is not worth keeping apart.
        complete = reply.ok && reply.status < 300 && (total <= 0 || m_file->committed() == total);
        if (reply.ok && begun && !reply.cancelled)
            Q_EMIT DownWork(m_file->committed()); // the last bytes, after the last step
    } catch (...) {
        // Silent by design: the cache file keeps what arrived.
    }
    m_hasClient.store(false, std::memory_order_release);
    m_complete = complete;
    m_file->finish(complete);
    Q_EMIT DownEnd();
}

} // namespace kovan
