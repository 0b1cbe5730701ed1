#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kovan {

// A one-job worker thread that frees itself. The pattern every worker of this module follows:
//
//     auto* w = new SomeWorker(...);                   // created, not yet running
//     w->setTerminationHandler(window, [](SomeWorker* sender) { ... });
//     w->start();
//
// Create, configure and start a worker on the GUI thread (any thread with a running event
// loop works; the worker object lives there). When run() has returned, the termination handler
// runs on that thread, then the worker is deleted: a handler must not keep the pointer. When
// the handler's `guard` object has been destroyed in the meantime, the handler is skipped and
// the worker is deleted all the same. A worker is never reused.
//
// The thread is a std::thread that the owner thread joins before the handler runs, so
// everything the worker wrote is visible to the handler (and to ThreadSanitizer).
//
// Who owns a worker: the process-wide worker table, from construction to destruction. A
// window or controller that starts one holds a QPointer at most; when it drops the worker
// (a superseded download, a window that closes) it asks it to stop, and the table frees it
// once it has ended: on its owner thread through the end call, or, once the event loop is
// gone, in reapAll(). No path leaves a thread unjoined, and no owner thread ever waits in a
// join for a worker that is still working:
//  - the exit procedure stops them all (stopAll) and turns the event loop until they have
//    ended (liveCount);
//  - the program entry then joins and frees what is left (reapAll), so no worker thread runs
//    while static objects are destroyed;
//  - test programs do the same after each test, so a test cannot leave one behind.
class WorkerThread : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread(QObject* parent = nullptr);
    // Joins the thread if it still runs (only an owner that shuts down early deletes a worker
    // itself; it should make run() return first, e.g. with requestStop()).
    ~WorkerThread() override;

    // Owner thread, once.
    void start();
    // Any thread: run() has returned and the end has been announced to the owner thread.
    bool hasEnded() const { return m_ended.load(std::memory_order_acquire); }

    // Any thread: asks run() to return soon. The operation in progress is cancelled through
    // the worker's cancelOnStop() guard, and wake() lets a worker that sleeps notice.
    void requestStop();
    bool stopRequested() const { return m_stop.load(std::memory_order_acquire); }

    // Any thread: requestStop() for every worker of the process.
    static void stopAll();
    // Any thread: workers whose run() has not returned yet.
    static int liveCount();
    // Owner thread (names come from objects that thread makes and frees): the class names of
    // those workers, sorted (tests name what a test left running).
    static QStringList liveNames();
    // Any thread: workers not freed yet, whether running, ended or never started.
    static int count();
    // The owner thread, after its event loop has ended: stops every worker left, waits for
    // their threads and frees them (their termination handlers do not run).
    static void reapAll();

protected:
    // The job, on the worker thread.
    virtual void run() = 0;
    // Called by requestStop() (any thread, under the worker's stop lock): a worker that waits
    // on its own condition variable wakes it here.
    virtual void wake() {}
    // For subclass destructors: waits until run() has returned (make it return first).
    void joinThread();
    // For subclasses: stores a handler that receives the concrete worker.
    void setHandler(QObject* guard, std::function<void()> handler);

    // Worker thread: while the returned guard lives, requestStop() calls `cancel` (under the
    // stop lock, so `cancel` never runs once the guard is gone). When a stop was requested
    // before, `cancel` runs at once.
    class CancelGuard {
    public:
        explicit CancelGuard(WorkerThread* worker) : m_worker(worker) {}
        CancelGuard(const CancelGuard&) = delete;
        CancelGuard& operator=(const CancelGuard&) = delete;
        ~CancelGuard();

    private:
        WorkerThread* m_worker;
    };
    [[nodiscard]] CancelGuard cancelOnStop(std::function<void()> cancel);

    // The stop lock, for subclasses whose wake() pairs with a wait of their own.
    std::mutex& stopMutex() const { return m_stopMutex; }

private:
    Q_INVOKABLE void finishOnOwnerThread();
    void threadMain();

    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_stopMutex;
    std::function<void()> m_cancel; // guarded by m_stopMutex
    QPointer<QObject> m_guard;
    bool m_hasGuard = false;
    std::function<void()> m_handler;
};

// Typed front of WorkerThread (or of a class derived from it, `Base`): the handler receives
// the worker as its sender.
template <typename Derived, typename Base = WorkerThread> class SelfFreeingWorker : public Base {
public:
    using Base::Base;
    using Handler = std::function<void(Derived* sender)>;

    // Owner thread, before start(). `guard` may be null (no guard).
    void setTerminationHandler(QObject* guard, Handler handler) {
        this->setHandler(guard, [this, h = std::move(handler)] { h(static_cast<Derived*>(this)); });
    }
};

} // namespace kovan
