#pragma once

#include "threads/WorkerThread.h"

#include <condition_variable>
#include <optional>

namespace kovan {

class HttpClient;

// Time-outs of a polling worker's HTTP client, in milliseconds (see HttpClient).
struct PollingTimeouts {
    int connectMs = 60000;
    int readMs = 60000;
};

// A worker that asks a server again and again: the sync loop (SyncThread) and the chart feeds
// (ChartProcess). What they share lives here:
//  - one HttpClient for the worker's life, made on the worker thread with the time-outs, so
//    the connection is kept between cycles; a stop request cancels the request in flight;
//  - the start delay: a replacement for a worker that failed holds back its first request;
//  - the loop: while keepPolling() holds and no stop was requested, run one cycle, then sleep
//    the pause the cycle asked for; a cycle may also end the loop;
//  - the sleep, on a condition variable paired with stopMutex(): a stop request (or
//    sleepCutShort()) ends it at once.
//
// Threads: a worker is constructed, configured and started on its owner thread (the GUI
// thread; see WorkerThread), and run() with every hook below runs on the worker's own thread.
// Who owns and frees it: the process-wide worker table (WorkerThread), never the class that
// started it; that one holds the pointer until the termination handler has run, at most.
class PollingWorker : public WorkerThread {
    Q_OBJECT
public:
    // The hold-back before the first request, in milliseconds (0: at once).
    int startDelayMs() const { return m_startDelayMs; }

protected:
    PollingWorker(int startDelayMs, const PollingTimeouts& timeouts, QObject* parent = nullptr);

    // Worker thread, before every cycle: false ends the loop without a further cycle.
    virtual bool keepPolling() const = 0;
    // Worker thread: one request and what follows from its reply. Returns the pause before the
    // next cycle in milliseconds (none when 0 or less), or nothing to end the loop.
    virtual std::optional<int> runCycle(HttpClient& client) = 0;
    // Worker thread, under the stop lock: true ends a sleep early, as a stop request does.
    virtual bool sleepCutShort() const { return false; }

    // Worker thread: sleeps `ms` unless a stop is requested (or sleepCutShort() holds) first;
    // returns false when it was cut short.
    bool sleepUnlessStopped(int ms);

    void run() final;
    void wake() final { m_wake.notify_all(); }

private:
    const int m_startDelayMs;
    const PollingTimeouts m_timeouts;
    std::condition_variable m_wake; // paired with stopMutex()
};

} // namespace kovan
