#include "net/HttpClient.h"

#include "net/CurlHandles.h"
#include "net/ReplyDecoder.h"

#include <chrono>
#include <mutex>

namespace kovan {

namespace {

using Clock = std::chrono::steady_clock;

void globalInit(const CurlApi& curl) {
    static std::once_flag once;
    std::call_once(once, [&curl] { curl.global_init(CURL_GLOBAL_DEFAULT); });
}

// How often the transfer loop wakes to check time-outs and cancellation.
constexpr int kPollSliceMs = 20;

// The URL, the method with its body and the connect time-out of the next request on `easy`.
// `postBody` (null for a GET) and `headers` are read by libcurl until the request ends.
void setRequestOptions(const CurlApi& curl, CURL* easy, const QByteArray& url,
                       const QByteArray* postBody, long connectTimeoutMs, CurlHeaderList& headers) {
    curl.easy_setopt(easy, CURLOPT_URL, url.constData());
    if (postBody) {
        appendHeader(headers, "Content-Type: application/x-www-form-urlencoded");
        curl.easy_setopt(easy, CURLOPT_POST, 1L);
        curl.easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
        curl.easy_setopt(easy, CURLOPT_POSTFIELDS, postBody->constData());
    } else {
        curl.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    curl.easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl.easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs);
}

} // namespace

QString HttpReply::text() const {
    return decodeReplyBody(body, contentType);
}

// State of one request, shared with libcurl's callbacks (all on the calling thread).
struct HttpClient::Transfer {
    const CurlApi* curl = nullptr;
    HttpClient* client = nullptr;
    HttpReply* reply = nullptr;
    CURL* easy = nullptr;
    Clock::time_point lastActivity = Clock::now();
    qint64 received = 0;
    qint64 lastUploaded = 0;
    bool hookCancelled = false;
    bool connected = false;
    bool tooLarge = false;
    bool sized = false; // the body's room was taken from its announced length

    static size_t onBody(char* data, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        const size_t n = size * count;
        t->lastActivity = Clock::now();
        t->received += qint64(n);
        if (t->client->m_sink) {
            if (!t->client->m_sink(data, qsizetype(n))) {
                t->hookCancelled = true;
                return 0; // makes libcurl abort with CURLE_WRITE_ERROR
            }
        } else {
            const qint64 cap = t->client->m_maxBodyBytes;
            if (t->reply->body.isEmpty() && !t->sized) {
                // The announced length, when there is one: a body the cap cannot take is
                // refused before any of it is read, and one it can take gets its room at
                // once rather than by repeated doubling (which leaves freed blocks of every
                // size behind in the heap of this thread).
                t->sized = true;
                curl_off_t length = -1;
                t->curl->easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
                if (cap > 0 && length > cap) {
                    t->tooLarge = true;
                    return 0;
                }
                if (length > 0)
                    t->reply->body.reserve(qsizetype(length));
            }
            if (cap > 0 && t->reply->body.size() + qint64(n) > cap) {
                t->tooLarge = true;
                return 0; // aborts with CURLE_WRITE_ERROR; nothing past the cap is kept
            }
            t->reply->body.append(data, qsizetype(n));
        }
        return n;
    }

    static size_t onHeader(char*, size_t size, size_t count, void* user) {
        auto* t = static_cast<Transfer*>(user);
        t->lastActivity = Clock::now();
        return size * count;
    }

    // Called once the connection stands (new or reused), just before the request goes out.
    static int onPrereq(void* user, char*, char*, int, int) {
        auto* t = static_cast<Transfer*>(user);
        t->connected = true;
        t->lastActivity = Clock::now();
        return CURL_PREREQFUNC_OK;
    }

    // Drives the attached transfer to its end: done, cancelled or timed out.
    CURLcode run(CURLM* multi, CURL* easy) {
        const Clock::time_point started = Clock::now();
        lastActivity = started;
        const qint64 totalMs = client->totalTimeoutMs();
        for (;;) {
            int running = 0;
            curl->multi_perform(multi, &running);
            int queued = 0;
            while (CURLMsg* msg = curl->multi_info_read(multi, &queued))
                if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy)
                    return msg->data.result;
            if (client->m_cancelled.load(std::memory_order_relaxed)) {
                reply->cancelled = true;
                return CURLE_ABORTED_BY_CALLBACK;
            }
            // The read time-out counts from the moment the connection stands (new or kept
            // from an earlier request); before that the connect time-out (enforced by
            // libcurl) applies.
            if (connected && client->m_readTimeoutMs > 0 &&
                Clock::now() - lastActivity > std::chrono::milliseconds(client->m_readTimeoutMs)) {
                reply->timedOut = true;
                return CURLE_OPERATION_TIMEDOUT;
            }
            if (totalMs > 0 && Clock::now() - started > std::chrono::milliseconds(totalMs)) {
                reply->timedOut = true;
                return CURLE_OPERATION_TIMEDOUT;
            }
            curl->multi_poll(multi, nullptr, 0, kPollSliceMs, nullptr);
        }
    }

    static int onProgress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t,
                          curl_off_t ulnow) {
        auto* t = static_cast<Transfer*>(user);
        if (ulnow != t->lastUploaded) {
            t->lastUploaded = ulnow;
            t->lastActivity = Clock::now();
        }
        if (t->client->m_cancelled.load(std::memory_order_relaxed))
            return 1;
        if (t->client->m_progress && dlnow > 0 &&
            !t->client->m_progress(qint64(dlnow), dltotal > 0 ? qint64(dltotal) : -1)) {
            t->hookCancelled = true;
            return 1;
        }
        return 0;
    }

    // Points libcurl's callbacks for the request on `easy` at this transfer.
    void setCallbacks() {
        curl->easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
        curl->easy_setopt(easy, CURLOPT_WRITEDATA, this);
        curl->easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
        curl->easy_setopt(easy, CURLOPT_HEADERDATA, this);
        curl->easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::onPrereq);
        curl->easy_setopt(easy, CURLOPT_PREREQDATA, this);
        curl->easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
        curl->easy_setopt(easy, CURLOPT_XFERINFODATA, this);
        curl->easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    }

    // Runs the request with `easy` attached to `multi`.
    CURLcode runAttached(CURLM* multi) {
        // The easy handle leaves the multi handle on every way out of this scope.
        const CurlMultiAttachment attachment(*curl, multi, easy);
        if (attachment.attached())
            return run(multi, easy);
        return CURLE_FAILED_INIT;
    }

    // The status and the Content-Type of the reply, as far as one arrived.
    void readReplyHeaders() {
        curl->easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply->status);
        char* contentType = nullptr;
        if (curl->easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK &&
            contentType)
            reply->contentType = QByteArray(contentType);
    }

    // The reply's outcome from libcurl's `result` and what the callbacks saw.
    void settle(CURLcode result) {
        if (hookCancelled || result == CURLE_ABORTED_BY_CALLBACK ||
            (result != CURLE_OK && client->m_cancelled.load(std::memory_order_relaxed)))
            reply->cancelled = true;
        if (result == CURLE_OPERATION_TIMEDOUT)
            reply->timedOut = true;
        if (tooLarge) {
            reply->tooLarge = true;
            reply->body.clear();
        }
        if (result != CURLE_OK) {
            reply->error =
                reply->timedOut    ? QStringLiteral("timed out")
                : reply->cancelled ? QStringLiteral("cancelled")
                : reply->tooLarge
                    ? QStringLiteral("reply larger than %1 bytes").arg(client->m_maxBodyBytes)
                    : QString::fromUtf8(curl->easy_strerror(result));
        } else if (reply->status >= 400) {
            reply->error = QStringLiteral("HTTP status %1").arg(reply->status);
        } else {
            reply->ok = true;
        }
    }
};

// Declared in this order so that the multi handle (holding the connection cache) goes first.
struct HttpClient::Handles {
    Handles() : curl(CurlLibrary::get()) {
        if (!curl)
            return;
        globalInit(*curl); // before the first handle of the process
        easy = CurlEasy(curl->easy_init(), {curl});
        multi = CurlMulti(curl->multi_init(), {curl});
    }
    const CurlApi* curl; // null: the library could not be loaded
    CurlEasy easy;
    CurlMulti multi;
};

HttpClient::HttpClient() : m_handles(std::make_unique<Handles>()) {
    CURL* easy = m_handles->easy.get();
    CURLM* multi = m_handles->multi.get();
    if (!easy || !multi)
        return; // perform() reports it
    const CurlApi& curl = *m_handles->curl;
    curl.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(easy, CURLOPT_COOKIEFILE, ""); // cookie engine on, memory only
    curl.easy_setopt(easy, CURLOPT_USERAGENT, "kovan/1.0");
    curl.easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, ""); // whatever libcurl can decode
    curl.easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
    // Request paths such as "//filelist/sound/x" must reach the server as written.
    curl.easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl.multi_setopt(multi, CURLMOPT_MAXCONNECTS, 2L);
}

HttpClient::~HttpClient() = default;

qint64 HttpClient::totalTimeoutMs() const {
    if (m_totalTimeoutMs >= 0)
        return m_totalTimeoutMs;
    if (m_connectTimeoutMs <= 0 || m_readTimeoutMs <= 0)
        return 0;
    return qint64(m_connectTimeoutMs) + m_readTimeoutMs;
}

HttpReply HttpClient::get(const QString& url) {
    return perform(url, nullptr);
}

HttpReply HttpClient::postForm(const QString& url, const QByteArray& body) {
    return perform(url, &body);
}

HttpReply HttpClient::perform(const QString& url, const QByteArray* postBody) {
    HttpReply reply;
    CURL* easy = m_handles->easy.get();
    CURLM* multi = m_handles->multi.get();
    if (!m_handles->curl) {
        reply.error = QStringLiteral("the HTTP library could not be loaded");
        return reply;
    }
    if (!easy || !multi) {
        reply.error = QStringLiteral("libcurl could not be initialised");
        return reply;
    }
    const CurlApi& curl = *m_handles->curl;

    Transfer t;
    t.curl = &curl;
    t.client = this;
    t.reply = &reply;

    const QByteArray urlBytes = url.toUtf8();
    CurlHeaderList headers(nullptr, {&curl});
    setRequestOptions(curl, easy, urlBytes, postBody, long(m_connectTimeoutMs), headers);
    t.easy = easy;
    t.setCallbacks();

    const CURLcode result = t.runAttached(multi);
    // libcurl must not keep pointers to the header list or the body past this request.
    curl.easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
    curl.easy_setopt(easy, CURLOPT_POSTFIELDS, nullptr);
    headers.reset();

    t.readReplyHeaders();
    t.settle(result);
    return reply;
}

} // namespace kovan
