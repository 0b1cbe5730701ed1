#include "net/requestThread.h"

#include "core/Escaping.h"
#include "net/FormBody.h"
#include "net/HttpClient.h"

namespace kovan {

const QString requestThread::kFallbackReply =
    QStringLiteral(R"({"status":0,"error":"系统错误，请重试！","errno":"10000000"})");

requestThread::requestThread(const QString& req, const QString& dat, const QString& dataServerRoot,
                             const SessionState& session, QObject* parent)
    : SelfFreeingWorker(parent), m_reqact(req), m_reqstr(dat), m_root(dataServerRoot),
      m_session(session) {}

void requestThread::setTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

void requestThread::run() {
    m_recvStr.clear();
    try {
        // A fresh client per call: no cookie carries over from one request to the next.
        HttpClient client;
        client.setConnectTimeoutMs(m_connectTimeoutMs);
        client.setReadTimeoutMs(m_readTimeoutMs);
        const CancelGuard cancelGuard = cancelOnStop([&client] { client.cancel(); });
        const QByteArray body = encodeFormBody(m_reqstr);
        m_url = m_root + u'/' + m_reqact + u'/' + urlPathSegment(m_session.sessid());
        const HttpReply reply = client.postForm(m_url, body);
        if (reply.ok)
            m_recvStr = reply.text();
    } catch (...) {
        // Whatever went wrong, the handler gets the fallback reply below.
    }
    if (m_recvStr.isEmpty())
        m_recvStr = kFallbackReply;
}

requestThread::~requestThread() {
    joinThread(); // run() uses the members
}

} // namespace kovan
