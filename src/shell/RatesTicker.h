#pragma once

#include "core/AppRunningFlag.h"
#include "core/SyncTables.h"

#include "net/SyncDelegates.h"
#include "shell/drawBtmThread.h"

#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace kovan {

class TickerView;

// The rates ticker of the main window: starts the drawBtmThread worker, keeps the one running
// worker (rateTicker), and restarts it when it ends while the application runs (DTTTermaintate,
// which the ending worker queues on the GUI thread). A stop request ends the present worker;
// the layout rule makes one on every resize, so the next worker takes the new width; after the
// exit procedure (appRunning cleared) none restarts.
//
// The worker's end is a queued call whose context object is this ticker, so a call still
// queued when the ticker goes is dropped with it; shutdown() (also run by the destructor)
// joins the worker first, so none is posted later.
//
// Threads: the object lives on the GUI thread. tickerExists(), startDrawRate() and stop() may be
// called from any thread (the sync worker calls the first two); the setters, shutdown() and
// DTTTermaintate run on the GUI thread.
class RatesTicker : public QObject, public IRatesTicker {
    Q_OBJECT
public:
    explicit RatesTicker(TickerView* view, QObject* parent = nullptr);
    ~RatesTicker() override;

    // Arrow pictures (topImages 22 and 23); the next worker takes them.
    void setArrows(const QImage& up, const QImage& down);
    // Where the quotes come from (none until set). The function runs on the worker's thread;
    // the next worker takes it.
    void setSource(drawBtmThread::Source source);
    // Whether a worker that ended is replaced (never until set).
    void setRunningCheck(std::function<bool()> running) { m_running = std::move(running); }
    // Both from the program's pieces: the quotes of `tables` (read under their lock, on the
    // worker's thread) while `appRunning` holds. Both outlive the ticker.
    void readFrom(const SharedSyncTables& tables, const AppRunningFlag& appRunning);

    bool tickerExists() const override;
    // Creates and starts a worker. When one already runs (the sync worker and the termination
    // handler can race for the slot) or after shutdown() this does nothing.
    void startDrawRate() override;

    // Sets isExit of the running worker, if any.
    void stop();
    // Pauses the running worker and every later one (the window is hidden), or lets them go on
    // where they stood. Any thread.
    void setPaused(bool paused);
    bool paused() const {
        std::lock_guard lock(m_lock);
        return m_paused;
    }
    // Stops the worker, waits for it and starts no other (window teardown).
    void shutdown();

    // How many workers have been started, and the sheet width the present one set up (−1
    // while it has not yet, or when none runs). Any thread; for status and tests.
    int startedCount() const { return m_started.load(); }
    int currentSheetWidth() const;

    // The termination handler: when the worker has ended, clears rateTicker and, while the
    // application runs, starts the next one. Queued by the ending worker; a call for a worker
    // that has not ended (or is gone) does nothing.
    void DTTTermaintate();

Q_SIGNALS:
    // A worker ended and its slot was cleared (GUI thread).
    void tickerEnded();

private:
    TickerView* m_view;
    std::function<bool()> m_running;

    mutable std::mutex m_lock;
    QImage m_up;                                 // guarded by m_lock
    QImage m_down;                               // guarded by m_lock
    drawBtmThread::Source m_source;              // guarded by m_lock
    std::unique_ptr<drawBtmThread> m_rateTicker; // guarded by m_lock
    bool m_shutDown = false;                     // guarded by m_lock
    bool m_paused = false;                       // guarded by m_lock
    std::atomic<int> m_started{0};
};

} // namespace kovan
