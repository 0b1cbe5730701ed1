#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
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
class WorkerThread : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread(QObject* parent = nullptr);
    // Joins the thread if it still runs (only an owner that shuts down early deletes a worker
    // itself; it should make run() return first).
    ~WorkerThread() override;

    // Owner thread, once.
    void start();
    // Any thread: run() has returned and the end has been announced to the owner thread.
    bool hasEnded() const { return m_ended.load(std::memory_order_acquire); }

protected:
    // The job, on the worker thread.
    virtual void run() = 0;
    // For subclass destructors: waits until run() has returned (make it return first).
    void joinThread();
    // For subclasses: stores a handler that receives the concrete worker.
    void setHandler(QObject* guard, std::function<void()> handler);

private:
    Q_INVOKABLE void finishOnOwnerThread();
    void threadMain();

    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    QPointer<QObject> m_guard;
    bool m_hasGuard = false;
    std::function<void()> m_handler;
};

// Typed front of WorkerThread: the handler receives the worker as its sender.
template <typename Derived> class SelfFreeingWorker : public WorkerThread {
public:
    using WorkerThread::WorkerThread;
    using Handler = std::function<void(Derived* sender)>;

    // Owner thread, before start(). `guard` may be null (no guard).
    void setTerminationHandler(QObject* guard, Handler handler) {
        setHandler(guard, [this, h = std::move(handler)] { h(static_cast<Derived*>(this)); });
    }
};

} // namespace kovan
