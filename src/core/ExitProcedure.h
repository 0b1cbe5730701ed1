#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace kovan {

class AppRunningFlag;
class Lifecycle;

// The exit procedure of the client (tray menu "退出(&X)", a forced logout, SIGTERM/SIGINT):
//
//  1. the parts' RemoveTrayIcon steps;
//  2. appRunning cleared, so no worker restarts;
//  3. the parts' StopWorkers steps: every worker is told to end, requests in flight are
//     cancelled, steps that workers wait for on the GUI thread are dropped;
//  4. the parts' HideWindows steps;
//  5. the event loop keeps running until every wait the parts registered reports its worker
//     ended, or the deadline passes; then `quit` (by default QCoreApplication::quit()).
//
// run() returns at once: the wait of step 5 is a timer, not a nested event loop, so the
// procedure finishes whatever handler it was started from (a page command, a modal window, a
// step a worker waits for). GUI thread only.
class ExitProcedure : public QObject {
    Q_OBJECT
public:
    static constexpr int kDeadlineMs = 2000;
    static constexpr int kPollMs = 5;

    // `appRunning` is cleared by step 2; both outlive the procedure.
    ExitProcedure(const Lifecycle& lifecycle, AppRunningFlag& appRunning,
                  QObject* parent = nullptr);

    // Tests replace the end of the application.
    void setQuit(std::function<void()> quit) { m_quit = std::move(quit); }
    void setDeadlineMs(int ms) { m_deadlineMs = ms; }

    // Starts the procedure; a second call while it runs or after it finished does nothing.
    void run();
    bool started() const { return m_started; }
    bool finished() const { return m_finished; }

Q_SIGNALS:
    // Step 5 is over, just before `quit` runs; `timedOut` when some worker had not ended.
    void done(bool timedOut);

private:
    void poll();

    const Lifecycle& m_lifecycle;
    AppRunningFlag& m_appRunning;
    std::function<void()> m_quit;
    int m_deadlineMs = kDeadlineMs;
    QTimer m_timer;
    QElapsedTimer m_since;
    bool m_started = false;
    bool m_finished = false;
};

} // namespace kovan
