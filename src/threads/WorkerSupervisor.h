#pragma once

#include "threads/GuiRelay.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

namespace kovan {

// Keeps one worker of a kind running for its owner (SyncController, ChartFeedRunner): starts
// it, hears of its end, starts a replacement while the owner still runs, and stops for good.
// `Worker` is a SelfFreeingWorker (usually a PollingWorker).
//
//  - start(): a worker at once, when none is current and stop() has not run;
//  - handleEnd(sender), from the owner's termination handler: forgets the ended worker and,
//    when none is current, stop() has not run and Rules::mayReplace holds, starts the
//    replacement after Rules::replacementDelayMs;
//  - stop(): final. The relay is shut down (a worker waiting for a GUI step returns at once,
//    and no step runs any more), then the current worker is asked to end (Rules::stop).
//
// Threads: the owner thread (the GUI thread) only. The supervisor constructs and starts
// every worker there, its relay lives there, and the termination handlers (guarded by the
// owner object) run there. The workers are owned and freed by the process-wide worker table
// (WorkerThread): the supervisor holds the current one's pointer until its end was handled;
// stopAndFree() is the one exception, for an owner that goes away while a worker runs.
template <typename Worker> class WorkerSupervisor {
public:
    struct Rules {
        // A new worker, not started; its GUI steps go through `relay()`.
        std::function<Worker*(int startDelayMs)> make;
        // The owner's termination handler (it calls handleEnd).
        std::function<void(Worker* sender)> ended;
        // Asks a worker to end soon (any request in flight is cancelled).
        std::function<void(Worker* worker)> stop;
        // Whether the owner still runs, asked as a worker has ended.
        std::function<bool()> mayReplace;
        // Called once per replacement, just before it starts: the replacement's start delay in
        // milliseconds (the owner may note the replacement here, e.g. in the log).
        std::function<int(const Worker& ended)> replacementDelayMs;
    };

    // `guard` is the owner: a worker's end is not handled once it has gone.
    WorkerSupervisor(QObject* guard, Rules rules)
        : m_guard(guard), m_rules(std::move(rules)), m_relay(std::make_shared<GuiRelay>()) {}
    WorkerSupervisor(const WorkerSupervisor&) = delete;
    WorkerSupervisor& operator=(const WorkerSupervisor&) = delete;

    // The relay the workers run their GUI steps through; a worker may keep a share of it.
    const std::shared_ptr<GuiRelay>& relay() const { return m_relay; }
    // The current worker, none between a worker's end and its replacement.
    Worker* current() const { return m_current; }
    // Workers started so far (the first and every replacement).
    int started() const { return m_started; }
    bool stopped() const { return m_stopped; }

    void start() {
        if (!m_current && !m_stopped)
            launch(0);
    }

    // Returns false while stopAndFree() runs: the owner then reports nothing.
    bool handleEnd(Worker* sender) {
        if (m_current == sender)
            m_current = nullptr;
        if (m_freeing)
            return false;
        if (!m_stopped && !m_current && m_rules.mayReplace())
            launch(m_rules.replacementDelayMs(*sender));
        return true;
    }

    void stop() {
        m_stopped = true;
        m_relay->shutdown();
        if (m_current)
            m_rules.stop(m_current);
    }

    // For an owner's destructor that must not leave its worker running: stops the current
    // worker, waits until its run() has returned and frees it (its queued end call is dropped
    // with it, so its termination handler does not run).
    void stopAndFree() {
        m_freeing = true;
        m_relay->shutdown();
        if (Worker* worker = m_current) {
            m_current = nullptr;
            m_rules.stop(worker);
            while (!worker->hasEnded())
                QThread::msleep(2);
            delete worker;
        }
    }

private:
    void launch(int startDelayMs) {
        Worker* worker = m_rules.make(startDelayMs);
        worker->setTerminationHandler(m_guard, m_rules.ended);
        m_current = worker;
        ++m_started;
        worker->start();
    }

    QObject* m_guard;
    Rules m_rules;
    std::shared_ptr<GuiRelay> m_relay;
    Worker* m_current = nullptr;
    int m_started = 0;
    bool m_stopped = false; // stop() ran: no worker starts any more
    bool m_freeing = false; // stopAndFree() ran
};

} // namespace kovan
