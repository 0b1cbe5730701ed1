#pragma once

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kovan {

// Runs steps of a worker on the thread this object lives on (the GUI thread) while the worker
// waits. Hand-over and completion go through a std::mutex and condition variable, so what the
// worker wrote before a step is visible to it, and what the step wrote is visible to the
// worker afterwards.
//
// runBlocking: any thread but the relay's own. shutdown(): the relay's thread, before the
// relay goes away; steps not yet run are dropped and waiting workers return.
class GuiRelay : public QObject {
    Q_OBJECT
public:
    explicit GuiRelay(QObject* parent = nullptr);
    ~GuiRelay() override;

    // Returns true once `step` has run, false when the relay was shut down first.
    bool runBlocking(std::function<void()> step);
    void shutdown();

private:
    struct Pending {
        std::function<void()> step;
        bool done = false;
    };
    Q_INVOKABLE void drain();

    std::mutex m_mutex;
    std::condition_variable m_doneCv;
    std::deque<Pending*> m_queue;
    bool m_shutDown = false;
};

} // namespace kovan
