#include "net/SyncThread.h"

#include "core/Escaping.h"
#include "net/HttpClient.h"
#include "net/SyncReplyProcessor.h"

#include "threads/GuiRelay.h"

namespace kovan {

SyncThread::SyncThread(const SyncContext& context, ISectionPages* pages, IRatesTicker* ticker,
                       GuiRelay* relay, const SyncOptions& options, int startDelayMs,
                       QObject* parent)
    : SelfFreeingWorker(startDelayMs, {options.connectTimeoutMs, options.readTimeoutMs}, parent),
      m_context(context), m_pages(pages), m_ticker(ticker), m_relay(relay), m_options(options),
      m_root(context.endpoints.dataServer.root()) {}

SyncThread::~SyncThread() {
    requestStop();
    joinThread(); // before the members run() uses go away
}

QString SyncThread::errorText() const {
    std::lock_guard lock(m_errorMutex);
    return m_error;
}

void SyncThread::onGuiThread(const std::function<void()>& step) {
    if (!m_relay || stopRequested())
        return;
    m_relay->runBlocking(step);
}

std::optional<int> SyncThread::runCycle(HttpClient& client) {
    if (requestAndProcess(client) == CycleResult::Failed) {
        m_endedByError.store(true, std::memory_order_release);
        return std::nullopt;
    }
    m_cycles.fetch_add(1, std::memory_order_acq_rel);
    return m_options.pollPeriodMs;
}

SyncThread::CycleResult SyncThread::requestAndProcess(HttpClient& client) {
    const QString sent = m_context.session.sessid();
    const QString url = m_root + QStringLiteral("/sync/") + urlPathSegment(sent);
    const HttpReply reply = client.get(url);
    if (!reply.ok) {
        std::lock_guard lock(m_errorMutex);
        m_error = reply.error;
        return CycleResult::Failed;
    }

    SyncReplyProcessor::Hooks hooks;
    hooks.forceReloadAll = [this] {
        onGuiThread([pages = m_pages] {
            if (pages)
                pages->forceReload(QStringLiteral("all"));
        });
    };
    hooks.checkRefresh = [this](ContentSectionSet changed) {
        onGuiThread([pages = m_pages, changed] {
            if (pages)
                pages->checkRefresh(changed);
        });
    };
    if (IQuoteWatcher* watcher = m_context.quoteWatcher)
        hooks.quotesApplied = [watcher](const std::vector<RateQuote>& rates,
                                        const QJsonObject& symbols) {
            watcher->quotesUpdated(rates, symbols);
        };
    hooks.ensureTicker = [ticker = m_ticker] {
        if (ticker && !ticker->tickerExists())
            ticker->startDrawRate();
    };
    SyncReplyProcessor processor(m_context.session, m_context.tables, m_context.news);
    processor.setRequestSessid(sent);
    const auto outcome = processor.process(reply.text(), hooks, SyncReplyProcessor::localNowSecs());
    if (outcome == SyncReplyProcessor::Outcome::Unusable) {
        std::lock_guard lock(m_errorMutex);
        m_error = QStringLiteral("unusable sync reply");
        return CycleResult::Failed;
    }
    return CycleResult::Continue;
}

} // namespace kovan
