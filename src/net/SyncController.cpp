#include "net/SyncController.h"

#include "core/ProgramState.h"

#include <QCoreApplication>
#include <QPointer>

namespace kovan {

SyncController::SyncController(ISectionPages* pages, IRatesTicker* ticker, QObject* parent)
    : QObject(parent), m_pages(pages), m_ticker(ticker) {}

SyncController::~SyncController() {
    if (!m_worker)
        return;
    m_destroying = true;
    QPointer<SyncThread> worker = m_worker;
    m_worker = nullptr;
    worker->requestStop();
    // The worker may be waiting for a step on this thread: keep events flowing until it ends.
    // Its clean-up may run meanwhile (and free it); SyncThreadTermintate then restarts nothing.
    while (worker && !worker->wait(10))
        QCoreApplication::processEvents();
}

void SyncController::start() {
    if (!m_worker)
        startWorker(0);
}

void SyncController::startWorker(int startDelayMs) {
    auto* worker = new SyncThread(m_pages, m_ticker, this, m_options, startDelayMs);
    worker->setTerminationHandler(this,
                                  [this](SyncThread* sender) { SyncThreadTermintate(sender); });
    m_worker = worker;
    ++m_started;
    worker->start();
}

void SyncController::SyncThreadTermintate(SyncThread* sender) {
    const bool failed = sender->endedByError();
    if (m_worker == sender)
        m_worker = nullptr;
    if (m_destroying)
        return;
    if (program().appRunning())
        startWorker(failed ? m_options.pollPeriodMs : 0);
    Q_EMIT workerEnded(failed);
}

} // namespace kovan
