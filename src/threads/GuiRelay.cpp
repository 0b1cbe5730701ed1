#include "threads/GuiRelay.h"

#include <QMetaObject>

namespace kovan {

GuiRelay::GuiRelay(QObject* parent) : QObject(parent) {}

GuiRelay::~GuiRelay() {
    shutdown();
}

bool GuiRelay::runBlocking(std::function<void()> step) {
    Pending pending{std::move(step)};
    std::unique_lock lock(m_mutex);
    if (m_shutDown)
        return false;
    m_queue.push_back(&pending);
    lock.unlock();
    // By name: the queued call carries nothing made on this thread.
    QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
    lock.lock();
    m_doneCv.wait(lock, [&] { return pending.done || m_shutDown; });
    if (!pending.done) {
        // Shut down before it ran: it is no longer queued (shutdown() cleared the queue).
        return false;
    }
    return true;
}

void GuiRelay::drain() {
    for (;;) {
        Pending* p = nullptr;
        {
            std::lock_guard lock(m_mutex);
            if (m_queue.empty() || m_shutDown)
                return;
            p = m_queue.front();
            m_queue.pop_front();
        }
        try {
            p->step();
        } catch (...) {
            // The worker goes on; a failing window step is the window's business.
        }
        std::lock_guard lock(m_mutex);
        if (m_shutDown)
            return; // the step shut the relay down: its worker has stopped waiting
        p->done = true;
        m_doneCv.notify_all();
    }
}

void GuiRelay::shutdown() {
    std::lock_guard lock(m_mutex);
    m_shutDown = true;
    m_queue.clear();
    m_doneCv.notify_all();
}

} // namespace kovan
