#pragma once

#include "chart/ChartProcess.h"
#include "core/AppRunningFlag.h"
#include "threads/WorkerSupervisor.h"

#include <QObject>

#include <functional>

namespace kovan {

// Keeps one chart window's feed running: starts it, replaces it when it ends while the window
// runs (isRuning), forwards period switches, and stops it for good when the window closes.
//
// A feed that ended is replaced after `pauseMs` (1 s by default, the sync loop's back-off): a
// data server that refuses connections is retried once a second, never in a tight loop.
// stop() clears isRuning first and then the feed's isRun, so the feed ends after cancelling its
// request and nothing replaces it.
//
// GUI thread only. The merge step runs here, on the GUI thread, through a relay of this
// runner's own; stop() (or the destructor) shuts the relay down, so a feed still winding down
// never reaches a window that has gone. The starting, replacing and stopping are a
// WorkerSupervisor's; the feeds are freed by the worker table (WorkerThread).
class ChartFeedRunner : public QObject {
    Q_OBJECT
public:
    // Merges one reply into the window's series (see ChartProcess::MergeStep); the runner then
    // tells the feed the series' last bar, `lastDl`.
    struct Merged {
        ChartMergeOutcome outcome;
        std::optional<qint32> lastDl;
    };
    using ReplyHandler = std::function<Merged(const ChartReply& reply, const QString& symbol,
                                              const QString& period)>;

    // Feeds are replaced only while `appRunning` holds; it outlives the runner (null: never).
    explicit ChartFeedRunner(const AppRunningFlag* appRunning, QObject* parent = nullptr);
    ~ChartFeedRunner() override;

    void setTiming(const ChartFeedTiming& timing) { m_timing = timing; }
    void setPauseMs(int ms) { m_pauseMs = ms; }
    void setReplyHandler(ReplyHandler handler) { m_handler = std::move(handler); }

    // Sets isRuning and starts the first feed at once.
    void start(const ChartFeedTarget& target, PChartData record);
    // The window switched period: the feed (and any replacement) asks for `period` from now.
    void setTarget(const QString& period, std::optional<qint32> lastDl);
    // Clears isRuning, then stops the feed. Final.
    void stop();

    bool isRuning() const { return m_isRuning; }
    // The current feed, none between a feed's end and its replacement.
    ChartProcess* CPThread() const { return m_supervisor.current(); }
    int feedsStarted() const { return m_supervisor.started(); }

    // Termination handler of every feed (GUI thread): clears CPThread and, while the window
    // runs, starts a replacement after the pause.
    void CPTerminate(ChartProcess* sender);

Q_SIGNALS:
    // After CPTerminate handled an ended feed.
    void feedEnded(bool byError, const QString& why);

private:
    WorkerSupervisor<ChartProcess>::Rules supervisorRules();
    ChartProcess* makeFeed(int startDelayMs);
    // The replacement of `ended` is about to start: its delay, the log line.
    int replacing(const ChartProcess& ended);

    const AppRunningFlag* m_appRunning;
    ChartFeedTiming m_timing;
    int m_pauseMs = 1000;
    ReplyHandler m_handler;
    ChartFeedTarget m_target; // the current period and last bar, for replacements
    PChartData m_record;
    bool m_isRuning = false;
    bool m_failing = false;                      // feeds have failed since the last merge
    WorkerSupervisor<ChartProcess> m_supervisor; // the feeds and their merge relay
};

} // namespace kovan
