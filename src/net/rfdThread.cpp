#include "net/rfdThread.h"

#include "core/AtomicFile.h"
#include "net/HttpClient.h"

namespace kovan {

rfdThread::rfdThread(const QString& src, const QString& dst, const QString& pageServerRoot,
                     QObject* parent)
    : SelfFreeingWorker(parent), m_srcFile(src), m_dstFile(dst), m_root(pageServerRoot + u'/') {}

void rfdThread::setTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

void rfdThread::run() {
    try {
        HttpClient client;
        client.setConnectTimeoutMs(m_connectTimeoutMs);
        client.setReadTimeoutMs(m_readTimeoutMs);
        client.setMaxBodyBytes(kMaxFileBytes);
        const CancelGuard cancelGuard = cancelOnStop([&client] { client.cancel(); });
        m_url = m_root + m_srcFile;
        const HttpReply reply = client.get(m_url);
        if (!reply.ok || reply.body.isEmpty())
            return;
        // Written to a temporary file and renamed: a reader never sees half a sound, and of
        // two downloads to the same file the later one wins.
        m_stored = writeFileAtomically(m_dstFile, reply.body);
    } catch (...) {
        // Silent by design: no file is the only trace.
    }
}

rfdThread::~rfdThread() {
    joinThread(); // run() uses the members
}

} // namespace kovan
