#pragma once

#include "net/SyncDelegates.h"
#include "net/SyncThread.h"
#include "threads/WorkerSupervisor.h"

#include <QObject>

namespace kovan {

// Owns the reference to the running sync worker and restarts it. Lives on the GUI thread; all
// its methods are for the GUI thread. The main window creates one at start-up:
//
//     m_sync = new SyncController(pagesImpl, tickerImpl, this);
//     m_sync->start();
//
// and the exit procedure clears appRunning, calls stop(), then lets events run until
// hasWorker() is false.
//
// The starting, replacing and stopping are a WorkerSupervisor's; the workers it starts here
// are freed by the worker table (WorkerThread), except in the destructor.
class SyncController : public QObject {
    Q_OBJECT
public:
    // `pages` and `ticker` must outlive the controller; either may be null (steps skipped).
    SyncController(const SyncContext& context, ISectionPages* pages, IRatesTicker* ticker,
                   QObject* parent = nullptr);
    // Stops a worker that still runs (a GUI step it waits for is dropped) and frees it.
    ~SyncController() override;

    void setOptions(const SyncOptions& options) { m_options = options; }
    const SyncOptions& options() const { return m_options; }

    // Starts a worker when none runs: created, termination handler SyncThreadTermintate, started.
    void start();
    // The exit procedure's step (appRunning already cleared): GUI steps the worker waits for are
    // dropped and will not be taken any more, the request in progress is cancelled, so the
    // worker ends within moments; its termination handler then starts no replacement.
    void stop();
    // True from start() until a worker ended and no replacement was started.
    bool hasWorker() const { return m_supervisor.current() != nullptr; }
    // Workers started so far (the first and every replacement).
    int workersStarted() const { return m_supervisor.started(); }

    // Termination handler of every worker: clears the reference and, while appRunning holds,
    // starts a replacement. A replacement of a worker that failed waits one poll period
    // before its first request, so a refused connection cannot turn into a busy loop.
    void SyncThreadTermintate(SyncThread* sender);

Q_SIGNALS:
    // After SyncThreadTermintate handled an ended worker.
    void workerEnded(bool byError);

private:
    WorkerSupervisor<SyncThread>::Rules supervisorRules();

    SyncContext m_context;
    ISectionPages* m_pages;
    IRatesTicker* m_ticker;
    SyncOptions m_options;
    WorkerSupervisor<SyncThread> m_supervisor; // the workers and their GUI-thread relay
};

} // namespace kovan
