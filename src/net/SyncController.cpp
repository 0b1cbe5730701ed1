#include "net/SyncController.h"

namespace kovan {

SyncController::SyncController(const SyncContext& context, ISectionPages* pages,
                               IRatesTicker* ticker, QObject* parent)
    : QObject(parent), m_context(context), m_pages(pages), m_ticker(ticker),
      m_supervisor(this, supervisorRules()) {}

SyncController::~SyncController() {
    // A worker waiting for a GUI step returns at once; then it is told to stop. Its queued
    // clean-up has not run (this thread is busy here): it is freed now.
    m_supervisor.stopAndFree();
}

WorkerSupervisor<SyncThread>::Rules SyncController::supervisorRules() {
    return {
        .make =
            [this](int startDelayMs) {
                return new SyncThread(m_context, m_pages, m_ticker, m_supervisor.relay().get(),
                                      m_options, startDelayMs);
            },
        .ended = [this](SyncThread* sender) { SyncThreadTermintate(sender); },
        .stop = [](SyncThread* worker) { worker->requestStop(); },
        .mayReplace = [this] { return m_context.appRunning.isSet(); },
        .replacementDelayMs =
            [this](const SyncThread& ended) {
                return ended.endedByError() ? m_options.pollPeriodMs : 0;
            },
    };
}

void SyncController::start() {
    m_supervisor.start();
}

void SyncController::stop() {
    m_supervisor.stop();
}

void SyncController::SyncThreadTermintate(SyncThread* sender) {
    const bool failed = sender->endedByError();
    if (m_supervisor.handleEnd(sender))
        Q_EMIT workerEnded(failed);
}

} // namespace kovan
