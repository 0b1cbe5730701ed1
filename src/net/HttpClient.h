#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace kovan {

// The outcome of one HTTP request.
struct HttpReply {
    bool ok = false;        // transfer completed and the status is below 400
    long status = 0;        // HTTP status; 0 when no reply arrived
    QByteArray body;        // raw bytes (empty when a sink consumed them)
    QByteArray contentType; // the Content-Type header as sent
    QString error;          // why `ok` is false (for debugging only; nothing shows it)
    bool cancelled = false; // ended by cancel() or by a progress hook
    bool timedOut = false;  // connect, read or total time-out
    bool tooLarge = false;  // the reply passed maxBodyBytes

    // The body decoded by the charset of `contentType` (see ReplyDecoder).
    QString text() const;
};

// One HTTP/1.1 client on libcurl (loaded with the first client of the run, see CurlApi.h).
// Each worker owns its own client and uses it from its own thread only; the one exception is
// cancel(), which any thread may call.
//
// The client keeps its connection (and its in-memory cookie jar) between requests, so a worker
// that polls reuses one connection. Cookies set by a server are sent back on later requests of
// the same client and are lost with it.
//
// Time-outs are in milliseconds: `connectTimeoutMs` bounds the connection set-up,
// `readTimeoutMs` ends a request once no byte has moved for that long after the connection
// was made, and the whole request never lasts longer than the two together (a server that
// dribbles a byte now and then cannot hold it for ever); setTotalTimeoutMs overrides that sum.
// 0 means no limit.
//
// A reply collected in memory may hold at most maxBodyBytes (8 MiB unless set); a longer one
// ends the request as a failure. A body sink sees every byte and sets its own limits.
class HttpClient {
public:
    // Received bytes so far and the announced total (-1 when unknown). Return false to cancel.
    using ProgressHook = std::function<bool(qint64 received, qint64 total)>;
    // Takes body bytes as they arrive, instead of collecting them in HttpReply::body. Return
    // false to cancel the transfer.
    using BodySink = std::function<bool(const char* data, qsizetype size)>;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    static constexpr qint64 kDefaultMaxBodyBytes = 8 * 1024 * 1024;

    void setConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }
    void setReadTimeoutMs(int ms) { m_readTimeoutMs = ms; }
    // -1 (the default): connect + read time-out, no limit when either is 0.
    void setTotalTimeoutMs(qint64 ms) { m_totalTimeoutMs = ms; }
    int connectTimeoutMs() const { return m_connectTimeoutMs; }
    int readTimeoutMs() const { return m_readTimeoutMs; }
    qint64 totalTimeoutMs() const;
    void setMaxBodyBytes(qint64 bytes) { m_maxBodyBytes = bytes; }
    qint64 maxBodyBytes() const { return m_maxBodyBytes; }

    void setProgressHook(ProgressHook hook) { m_progress = std::move(hook); }
    void setBodySink(BodySink sink) { m_sink = std::move(sink); }

    HttpReply get(const QString& url);
    // POST with Content-Type "application/x-www-form-urlencoded"; `body` is sent as it is.
    HttpReply postForm(const QString& url, const QByteArray& body);

    // Any thread: ends the request in progress (and any later one) as soon as possible.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    struct Transfer;
    struct Handles; // the libcurl easy handle and the multi handle that keeps its connections
    HttpReply perform(const QString& url, const QByteArray* postBody);

    std::unique_ptr<Handles> m_handles;
    int m_connectTimeoutMs = 60000;
    int m_readTimeoutMs = 60000;
    qint64 m_totalTimeoutMs = -1;
    qint64 m_maxBodyBytes = kDefaultMaxBodyBytes;
    ProgressHook m_progress;
    BodySink m_sink;
    std::atomic<bool> m_cancelled{false};
};

} // namespace kovan
