#include "net/NetModule.h"

#include "core/Lifecycle.h"
#include "net/SyncController.h"
#include "net/WorkerThread.h"

namespace kovan {

NetModule::NetModule(Needs needs)
    : m_sync(std::make_unique<SyncController>(needs.pages, needs.ticker)) {}

NetModule::~NetModule() = default;

void NetModule::addSteps(Lifecycle& lifecycle) {
    SyncController* sync = m_sync.get();
    lifecycle.onStart(StartStep::StartWorkers, [sync] { sync->start(); });
    lifecycle.onExit(ExitStep::StopWorkers, [sync] {
        sync->stop();
        WorkerThread::stopAll();
    });
    // The sync worker's reference is cleared by its termination handler on this thread.
    lifecycle.waitAtExit(QStringLiteral("sync worker"), [sync] { return !sync->hasWorker(); });
    lifecycle.waitAtExit(QStringLiteral("workers"), [] { return WorkerThread::liveCount() == 0; });
}

} // namespace kovan
