#include "net/PollingWorker.h"

#include "net/HttpClient.h"

#include <chrono>

namespace kovan {

PollingWorker::PollingWorker(int startDelayMs, const PollingTimeouts& timeouts, QObject* parent)
    : WorkerThread(parent), m_startDelayMs(startDelayMs), m_timeouts(timeouts) {}

bool PollingWorker::sleepUnlessStopped(int ms) {
    std::unique_lock lock(stopMutex());
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms),
                            [this] { return stopRequested() || sleepCutShort(); });
}

void PollingWorker::run() {
    HttpClient client;
    client.setConnectTimeoutMs(m_timeouts.connectMs);
    client.setReadTimeoutMs(m_timeouts.readMs);
    const CancelGuard cancelGuard = cancelOnStop([&client] { client.cancel(); });
    if (m_startDelayMs > 0 && !sleepUnlessStopped(m_startDelayMs))
        return;
    while (keepPolling() && !stopRequested()) {
        const std::optional<int> pauseMs = runCycle(client);
        if (!pauseMs || (*pauseMs > 0 && !sleepUnlessStopped(*pauseMs)))
            break;
    }
}

} // namespace kovan
