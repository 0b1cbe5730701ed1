#pragma once

#include <QPointer>
#include <QThread>

#include <functional>

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
class WorkerThread : public QThread {
    Q_OBJECT
public:
    explicit WorkerThread(QObject* parent = nullptr);
    ~WorkerThread() override;

protected:
    // For subclasses: stores a handler that receives the concrete worker.
    void setHandler(QObject* guard, std::function<void()> handler);

private:
    void finishOnOwnerThread();

    QPointer<QObject> m_guard;
    bool m_hasGuard = false;
    std::function<void()> m_handler;
};

// Typed front of WorkerThread: the handler receives the worker as its sender.
template <typename Derived> class SelfFreeingWorker : public WorkerThread {
public:
    using WorkerThread::WorkerThread;
    using Handler = std::function<void(Derived* sender)>;

    // GUI thread, before start(). `guard` may be null (no guard).
    void setTerminationHandler(QObject* guard, Handler handler) {
        setHandler(guard, [this, h = std::move(handler)] { h(static_cast<Derived*>(this)); });
    }
};

} // namespace kovan
