#include "threads/WorkerThread.h"

#include <QMetaObject>

#include <unordered_set>

namespace kovan {

namespace {

// Every WorkerThread object of the process, from construction to destruction.
struct Registry {
    std::mutex mutex;
    std::unordered_set<WorkerThread*> workers;
};

Registry& registry() {
    // Never destroyed: a worker freed during static destruction still finds it.
    static Registry* r = new Registry;
    return *r;
}

} // namespace

WorkerThread::WorkerThread(QObject* parent) : QObject(parent) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.workers.insert(this);
}

WorkerThread::~WorkerThread() {
    joinThread();
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.workers.erase(this);
}

void WorkerThread::joinThread() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void WorkerThread::start() {
    if (!m_thread.joinable())
        m_thread = std::thread([this] { threadMain(); });
}

void WorkerThread::setHandler(QObject* guard, std::function<void()> handler) {
    m_guard = guard;
    m_hasGuard = guard != nullptr;
    m_handler = std::move(handler);
}

void WorkerThread::requestStop() {
    std::lock_guard lock(m_stopMutex);
    m_stop.store(true, std::memory_order_release);
    if (m_cancel)
        m_cancel();
    wake();
}

WorkerThread::CancelGuard WorkerThread::cancelOnStop(std::function<void()> cancel) {
    std::lock_guard lock(m_stopMutex);
    m_cancel = std::move(cancel);
    if (stopRequested() && m_cancel)
        m_cancel();
    return CancelGuard(this);
}

WorkerThread::CancelGuard::~CancelGuard() {
    std::lock_guard lock(m_worker->m_stopMutex);
    m_worker->m_cancel = nullptr;
}

void WorkerThread::stopAll() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (WorkerThread* w : r.workers)
        w->requestStop();
}

int WorkerThread::liveCount() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    int n = 0;
    for (const WorkerThread* w : r.workers) {
        // A worker never started has nothing to wait for.
        if (w->m_thread.joinable() && !w->hasEnded())
            ++n;
    }
    return n;
}

QStringList WorkerThread::liveNames() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    QStringList names;
    for (const WorkerThread* w : r.workers) {
        if (w->m_thread.joinable() && !w->hasEnded())
            names.append(QString::fromLatin1(w->metaObject()->className()));
    }
    names.sort();
    return names;
}

int WorkerThread::count() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return int(r.workers.size());
}

void WorkerThread::reapAll() {
    std::vector<WorkerThread*> left;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        left.assign(r.workers.begin(), r.workers.end());
        for (WorkerThread* w : left)
            w->requestStop();
    }
    // Outside the registry's lock: each destructor joins its thread and leaves the list.
    // Deleting also drops the worker's queued end call, so no handler runs now.
    for (WorkerThread* w : left) {
        if (!w->parent())
            delete w;
        else
            w->joinThread(); // its parent frees it
    }
}

void WorkerThread::threadMain() {
    try {
        run();
    } catch (...) {
        // A worker that fails simply ends; its handler still runs.
    }
    // By name: the queued call then carries no object made on this thread.
    QMetaObject::invokeMethod(this, "finishOnOwnerThread", Qt::QueuedConnection);
    m_ended.store(true, std::memory_order_release);
}

void WorkerThread::finishOnOwnerThread() {
    joinThread();
    const bool guardGone = m_hasGuard && m_guard.isNull();
    if (m_handler && !guardGone) {
        try {
            m_handler();
        } catch (...) {
            // A handler's failure must not keep the worker alive; the application's error
            // handler would drop it anyway.
        }
    }
    delete this;
}

} // namespace kovan
