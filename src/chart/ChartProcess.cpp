#include "chart/ChartProcess.h"

#include "chart/HistoryFile.h"
#include "core/Trace.h"
#include "net/HttpClient.h"
#include "net/ReplyDecoder.h"
#include "threads/GuiRelay.h"

#include <exception>

namespace kovan {

ChartProcess::ChartProcess(const ChartFeedTarget& target, PChartData record,
                           std::shared_ptr<GuiRelay> relay, MergeStep merge,
                           const ChartFeedTiming& timing, int startDelayMs, QObject* parent)
    : SelfFreeingWorker(startDelayMs, {timing.connectTimeoutMs, timing.readTimeoutMs}, parent),
      m_root(target.root), m_symbol(target.symbol), m_CData(std::move(record)),
      m_relay(std::move(relay)), m_merge(std::move(merge)), m_timing(timing),
      m_period(target.period), m_lastDl(target.lastDl) {}

ChartProcess::~ChartProcess() {
    stopFeed();
    joinThread(); // before the members run() uses go away
}

void ChartProcess::setTarget(const QString& period, std::optional<qint32> lastDl) {
    std::lock_guard lock(m_mutex);
    m_period = period;
    m_lastDl = lastDl;
    m_generation.fetch_add(1, std::memory_order_acq_rel);
}

void ChartProcess::setLastBar(std::optional<qint32> lastDl) {
    std::lock_guard lock(m_mutex);
    m_lastDl = lastDl;
}

ChartFeedTarget ChartProcess::target() const {
    std::lock_guard lock(m_mutex);
    return {m_root, m_symbol, m_period, m_lastDl};
}

void ChartProcess::stopFeed() {
    m_isRun.store(false, std::memory_order_release);
    requestStop();
}

QString ChartProcess::resStr() const {
    std::lock_guard lock(m_mutex);
    return decodeReplyBody(m_resBody, m_resType);
}

QString ChartProcess::errorText() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

void ChartProcess::fail(const QString& why) {
    {
        std::lock_guard lock(m_mutex);
        m_error = why;
    }
    m_endedByError.store(true, std::memory_order_release);
}

ChartProcess::Request ChartProcess::nextRequest() const {
    std::lock_guard lock(m_mutex);
    return {chartRequestUrl(m_root, m_symbol, m_period, m_lastDl), m_period,
            m_generation.load(std::memory_order_acquire)};
}

std::optional<int> ChartProcess::runCycle(HttpClient& client) {
    if (m_CData->locked.load(std::memory_order_acquire)) {
        if (!sleepUnlessStopped(m_timing.lockedMs))
            return std::nullopt;
        m_UPDAED.store(true, std::memory_order_release);
        return 0; // no request while the series is locked
    }
    m_UPDAED.store(false, std::memory_order_release);

    const Request request = nextRequest();
    const HttpReply reply = client.get(request.url);
    if (!isRun() || stopRequested())
        return std::nullopt; // stopped: the cancelled request is no failure
    if (!reply.ok) {
        fail(reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status) : reply.error);
        return std::nullopt;
    }
    {
        std::lock_guard lock(m_mutex);
        m_resBody = reply.body; // shared, decoded only when resStr() asks
        m_resType = reply.contentType;
    }
    // The same bytes as the last merged reply of this address would change nothing: not even
    // parsed.
    if (request.generation == m_mergedGeneration && request.url == m_mergedUrl &&
        reply.body == m_mergedBody && reply.contentType == m_mergedType)
        return m_timing.pollMs;
    // One parse, straight from the bytes when no charset can make them read otherwise.
    const ChartReply parsed = asciiBody(reply.body, reply.contentType)
                                  ? parseChartReplyJson(reply.body)
                                  : parseChartReply(reply.text());
    if (parsed.mergeable() && !m_replied) {
        m_replied = true; // the moment a new window's first frame is timed from
        trace(QStringLiteral("chart feed %1 %2 first reply").arg(m_symbol, request.period));
    }
    if (parsed.mergeable() && !handOver(request, reply, parsed))
        return std::nullopt;
    return m_timing.pollMs;
}

bool ChartProcess::handOver(const Request& request, const HttpReply& reply,
                            const ChartReply& parsed) {
    // The outcome's snapshot of the bars goes with this frame, before the next request.
    ChartMergeOutcome outcome;
    const bool ran = m_relay && m_relay->runBlocking([&] {
        if (m_merge)
            outcome = m_merge(this, parsed, m_symbol, request.period);
    });
    if (!ran)
        return false; // the window has gone
    if (outcome.merged) {
        m_mergedUrl = request.url;
        m_mergedBody = reply.body;
        m_mergedType = reply.contentType;
        m_mergedGeneration = request.generation;
    }
    return !outcome.save || saveHistory(outcome, request.period);
}

bool ChartProcess::saveHistory(const ChartMergeOutcome& outcome, const QString& period) {
    try {
        saveHistoryFile(outcome.historyPath, outcome.bars);
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        trace(QStringLiteral("chart feed %1 %2: history not saved").arg(m_symbol, period));
        return false;
    }
    return true;
}

} // namespace kovan
