#include "chart/ChartFeedRunner.h"

#include "core/ProgramState.h"
#include "core/Trace.h"
#include "net/GuiRelay.h"

#include <QPointer>

namespace kovan {

ChartFeedRunner::ChartFeedRunner(QObject* parent)
    : QObject(parent), m_relay(std::make_shared<GuiRelay>()) {}

ChartFeedRunner::~ChartFeedRunner() {
    stop();
}

void ChartFeedRunner::start(const ChartFeedTarget& target, PChartData record) {
    if (m_isRuning || !m_relay)
        return;
    m_target = target;
    m_record = std::move(record);
    m_isRuning = true;
    startFeed(0);
}

void ChartFeedRunner::setTarget(const QString& period, std::optional<qint32> lastDl) {
    m_target.period = period;
    m_target.lastDl = lastDl;
    if (m_CPThread)
        m_CPThread->setTarget(period, lastDl);
}

void ChartFeedRunner::stop() {
    m_isRuning = false;
    if (m_relay) {
        m_relay->shutdown(); // a feed waiting for a merge returns at once
        m_relay.reset();     // the feeds keep their share until they are gone
    }
    if (ChartProcess* feed = m_CPThread)
        feed->stopFeed();
}

void ChartFeedRunner::startFeed(int startDelayMs) {
    // The merge runs on this thread; `self` is checked there because the runner may be gone
    // by the time a feed's reply arrives (its relay is then shut down as well).
    QPointer<ChartFeedRunner> self(this);
    auto merge = [self](ChartProcess* feed, const ChartReply& reply, const QString& symbol,
                        const QString& period) -> ChartMergeOutcome {
        if (!self || !self->m_isRuning || !self->m_handler || feed != self->m_CPThread)
            return {};
        Merged m = self->m_handler(reply, symbol, period);
        if (m.outcome.merged)
            self->m_failing = false;
        if (m.outcome.merged && period == self->m_target.period) {
            self->m_target.lastDl = m.lastDl;
            feed->setLastBar(m.lastDl);
        }
        return std::move(m.outcome);
    };
    auto* feed =
        new ChartProcess(m_target, m_record, m_relay, std::move(merge), m_timing, startDelayMs);
    feed->setTerminationHandler(this, [this](ChartProcess* sender) { CPTerminate(sender); });
    m_CPThread = feed;
    ++m_started;
    feed->start();
}

void ChartFeedRunner::CPTerminate(ChartProcess* sender) {
    const bool byError = sender->endedByError();
    const QString why = sender->errorText();
    if (m_CPThread == sender)
        m_CPThread = nullptr;
    if (m_isRuning && program().appRunning.isSet() && !m_CPThread) {
        // One line per run of failures: a server that stays away does not fill the log.
        if (byError && !m_failing)
            trace(QStringLiteral("chart feed %1 %2 ended: replaced in %3 ms")
                      .arg(m_target.symbol, m_target.period)
                      .arg(m_pauseMs));
        m_failing = m_failing || byError;
        startFeed(m_pauseMs);
    }
    Q_EMIT feedEnded(byError, why);
}

} // namespace kovan
