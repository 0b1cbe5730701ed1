#include "net/WorkerThread.h"

namespace kovan {

WorkerThread::WorkerThread(QObject* parent) : QThread(parent) {
    // finished() is emitted on the worker thread; the queued connection brings the clean-up
    // to the thread this object lives on.
    connect(this, &QThread::finished, this, &WorkerThread::finishOnOwnerThread,
            Qt::QueuedConnection);
}

WorkerThread::~WorkerThread() {
    // finished() comes shortly before the thread has really ended.
    wait();
}

void WorkerThread::setHandler(QObject* guard, std::function<void()> handler) {
    m_guard = guard;
    m_hasGuard = guard != nullptr;
    m_handler = std::move(handler);
}

void WorkerThread::finishOnOwnerThread() {
    wait();
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
