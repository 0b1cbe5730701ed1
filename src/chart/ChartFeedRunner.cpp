#include "chart/ChartFeedRunner.h"

#include "core/Trace.h"
#include "threads/GuiRelay.h"

#include <QPointer>

namespace kovan {

ChartFeedRunner::ChartFeedRunner(const AppRunningFlag* appRunning, QObject* parent)
    : QObject(parent), m_appRunning(appRunning), m_supervisor(this, supervisorRules()) {}

ChartFeedRunner::~ChartFeedRunner() {
    stop();
}

WorkerSupervisor<ChartProcess>::Rules ChartFeedRunner::supervisorRules() {
    return {
        .make = [this](int startDelayMs) { return makeFeed(startDelayMs); },
        .ended = [this](ChartProcess* sender) { CPTerminate(sender); },
        .stop = [](ChartProcess* feed) { feed->stopFeed(); },
        .mayReplace = [this] { return m_isRuning && m_appRunning && m_appRunning->isSet(); },
        .replacementDelayMs = [this](const ChartProcess& ended) { return replacing(ended); },
    };
}

void ChartFeedRunner::start(const ChartFeedTarget& target, PChartData record) {
    if (m_isRuning || m_supervisor.stopped())
        return;
    m_target = target;
    m_record = std::move(record);
    m_isRuning = true;
    m_supervisor.start();
}

void ChartFeedRunner::setTarget(const QString& period, std::optional<qint32> lastDl) {
    m_target.period = period;
    m_target.lastDl = lastDl;
    if (ChartProcess* feed = CPThread())
        feed->setTarget(period, lastDl);
}

void ChartFeedRunner::stop() {
    m_isRuning = false;
    // A feed waiting for a merge returns at once; the feeds keep their share of the relay
    // until they are gone.
    m_supervisor.stop();
}

ChartProcess* ChartFeedRunner::makeFeed(int startDelayMs) {
    // The merge runs on this thread; `self` is checked there because the runner may be gone
    // by the time a feed's reply arrives (its relay is then shut down as well).
    QPointer<ChartFeedRunner> self(this);
    auto merge = [self](ChartProcess* feed, const ChartReply& reply, const QString& symbol,
                        const QString& period) -> ChartMergeOutcome {
        if (!self || !self->m_isRuning || !self->m_handler || feed != self->CPThread())
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
    return new ChartProcess(m_target, m_record, m_supervisor.relay(), std::move(merge), m_timing,
                            startDelayMs);
}

int ChartFeedRunner::replacing(const ChartProcess& ended) {
    // One line per run of failures: a server that stays away does not fill the log.
    const bool byError = ended.endedByError();
    if (byError && !m_failing)
        trace(QStringLiteral("chart feed %1 %2 ended: replaced in %3 ms")
                  .arg(m_target.symbol, m_target.period)
                  .arg(m_pauseMs));
    m_failing = m_failing || byError;
    return m_pauseMs;
}

void ChartFeedRunner::CPTerminate(ChartProcess* sender) {
    const bool byError = sender->endedByError();
    const QString why = sender->errorText();
    m_supervisor.handleEnd(sender);
    Q_EMIT feedEnded(byError, why);
}

} // namespace kovan
