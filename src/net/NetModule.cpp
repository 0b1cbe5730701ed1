#include "net/NetModule.h"

#include "core/Lifecycle.h"
#include "net/SyncController.h"
#include "threads/WorkerThread.h"

namespace kovan {

NetModule::NetModule() = default;

void NetModule::setNeeds(Needs needs) {
    const SyncContext context{*needs.session,    *needs.syncTables,      *needs.news,
                              *needs.appRunning, needs.paths->endpoints, needs.quoteWatcher};
    m_sync = std::make_unique<SyncController>(context, needs.pages, needs.ticker);
    m_whenPagesShown = std::move(needs.whenPagesShown);
}

NetModule::~NetModule() = default;

void NetModule::addSteps(Lifecycle& lifecycle) {
    SyncController* sync = m_sync.get();
    lifecycle.onStart(StartStep::StartWorkers, [this, sync] {
        // A start asked for after the exit procedure stopped the controller does nothing.
        if (m_whenPagesShown)
            m_whenPagesShown([sync] { sync->start(); });
        else
            sync->start();
    });
    lifecycle.onExit(ExitStep::StopWorkers, [sync] {
        sync->stop();
        WorkerThread::stopAll();
    });
    // The sync worker's reference is cleared by its termination handler on this thread.
    lifecycle.waitAtExit(QStringLiteral("sync worker"), [sync] { return !sync->hasWorker(); });
    lifecycle.waitAtExit(QStringLiteral("workers"), [] { return WorkerThread::liveCount() == 0; });
}

} // namespace kovan
