#pragma once

#include "core/SessionState.h"
#include "threads/WorkerThread.h"

#include <QString>

namespace kovan {

// One API call of the data server: POST <data server root>/<reqact>/<sessid> with the form body
// built from `reqstr` (see FormBody.h). The reply text, or on any failure (no connection,
// time-out, HTTP error status, empty body) the fallback reply kFallbackReply, is in recvStr()
// when the termination handler runs; it is never empty then.
//
//     auto* w = new requestThread(QStringLiteral("logout"), QStringLiteral("logout=1"), root,
//                                 session);
//     w->setTerminationHandler(this, [this](requestThread* sender) {
//         logoutResult(sender->recvStr());
//     });
//     w->start();
//
// Threads: construct, configure and start on the GUI thread; the session id is read (under its
// lock) when the worker builds the URL. `session` outlives every worker. recvStr() is for the
// termination handler (or after the worker has ended).
class requestThread : public SelfFreeingWorker<requestThread> {
    Q_OBJECT
public:
    static const QString kFallbackReply;
    static constexpr int kDefaultTimeoutMs = 60000;

    // `req` is the action (reqact), `dat` the parameter text of name=value lines (reqstr),
    // `dataServerRoot` "http://host:port".
    requestThread(const QString& req, const QString& dat, const QString& dataServerRoot,
                  const SessionState& session, QObject* parent = nullptr);
    ~requestThread() override;

    // Before start(): both time-outs in milliseconds (tests use short ones).
    void setTimeoutsMs(int connectMs, int readMs);

    const QString& reqact() const { return m_reqact; }
    const QString& reqstr() const { return m_reqstr; }
    const QString& recvStr() const { return m_recvStr; }
    // The URL the worker used (valid once it has ended).
    const QString& requestUrl() const { return m_url; }

protected:
    void run() override;

private:
    QString m_reqact;
    QString m_reqstr;
    QString m_recvStr;
    QString m_url;
    QString m_root; // "http://host:port"
    const SessionState& m_session;
    int m_connectTimeoutMs = kDefaultTimeoutMs;
    int m_readTimeoutMs = kDefaultTimeoutMs;
};

} // namespace kovan
