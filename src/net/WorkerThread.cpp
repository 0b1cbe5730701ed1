#include "net/WorkerThread.h"

#include <QMetaObject>

namespace kovan {

WorkerThread::WorkerThread(QObject* parent) : QObject(parent) {}

WorkerThread::~WorkerThread() {
    joinThread();
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
