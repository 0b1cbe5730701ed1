#include "chart/ChartProcess.h"

#include "core/HistoryFile.h"
#include "core/Trace.h"
#include "net/GuiRelay.h"
#include "net/HttpClient.h"

#include <chrono>
#include <exception>

namespace kovan {

ChartProcess::ChartProcess(const ChartFeedTarget& target, PChartData record,
                           std::shared_ptr<GuiRelay> relay, MergeStep merge,
                           const ChartFeedTiming& timing, int startDelayMs, QObject* parent)
    : SelfFreeingWorker(parent), m_root(target.root), m_symbol(target.symbol),
      m_CData(std::move(record)), m_relay(std::move(relay)), m_merge(std::move(merge)),
      m_timing(timing), m_startDelayMs(startDelayMs), m_period(target.period),
      m_lastDl(target.lastDl) {}

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
    return m_resStr;
}

QString ChartProcess::errorText() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

bool ChartProcess::pause(int ms) {
    std::unique_lock lock(stopMutex());
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms),
                            [this] { return stopRequested() || !isRun(); });
}

void ChartProcess::fail(const QString& why) {
    {
        std::lock_guard lock(m_mutex);
        m_error = why;
    }
    m_endedByError.store(true, std::memory_order_release);
}

void ChartProcess::run() {
    HttpClient client;
    client.setConnectTimeoutMs(m_timing.connectTimeoutMs);
    client.setReadTimeoutMs(m_timing.readTimeoutMs);
    const CancelGuard cancelGuard = cancelOnStop([&client] { client.cancel(); });
    if (m_startDelayMs > 0 && !pause(m_startDelayMs))
        return;

    // The last reply the window merged, by address and period switch: the same text again
    // would change nothing.
    QString mergedUrl, mergedText;
    int mergedGeneration = -1;
    while (isRun() && !stopRequested()) {
        if (m_CData->locked.load(std::memory_order_acquire)) {
            if (!pause(m_timing.lockedMs))
                break;
            m_UPDAED.store(true, std::memory_order_release);
            continue;
        }
        m_UPDAED.store(false, std::memory_order_release);

        QString url, period;
        int generation;
        {
            std::lock_guard lock(m_mutex);
            period = m_period;
            url = chartRequestUrl(m_root, m_symbol, m_period, m_lastDl);
            generation = m_generation.load(std::memory_order_acquire);
        }
        const HttpReply reply = client.get(url);
        if (!isRun() || stopRequested())
            break; // stopped: the cancelled request is no failure
        if (!reply.ok) {
            fail(reply.error.isEmpty() ? QStringLiteral("HTTP %1").arg(reply.status) : reply.error);
            break;
        }
        const QString text = reply.text();
        {
            std::lock_guard lock(m_mutex);
            m_resStr = text;
        }
        const ChartReply parsed = parseChartReply(text);
        const bool repeat =
            generation == mergedGeneration && url == mergedUrl && text == mergedText;
        if (parsed.mergeable() && !repeat) {
            ChartMergeOutcome outcome;
            const bool ran = m_relay && m_relay->runBlocking([&] {
                if (m_merge)
                    outcome = m_merge(this, parsed, m_symbol, period);
            });
            if (!ran)
                break; // the window has gone
            if (outcome.merged) {
                mergedUrl = url;
                mergedText = text;
                mergedGeneration = generation;
            }
            if (outcome.save) {
                try {
                    saveHistoryFile(outcome.historyPath, outcome.bars);
                } catch (const std::exception& e) {
                    fail(QString::fromUtf8(e.what()));
                    trace(QStringLiteral("chart feed %1 %2: history not saved")
                              .arg(m_symbol, period));
                    break;
                }
            }
        }
        if (!pause(m_timing.pollMs))
            break;
    }
}

} // namespace kovan
