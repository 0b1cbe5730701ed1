#include "net/SyncController.h"

#include <QThread>

namespace kovan {

SyncController::SyncController(const SyncContext& context, ISectionPages* pages,
                               IRatesTicker* ticker, QObject* parent)
    : QObject(parent), m_context(context), m_pages(pages), m_ticker(ticker) {}

SyncController::~SyncController() {
    m_destroying = true;
    // A worker waiting for a GUI step returns at once; then it is told to stop.
    m_relay.shutdown();
    if (SyncThread* worker = m_worker) {
        m_worker = nullptr;
        worker->requestStop();
        while (!worker->hasEnded())
            QThread::msleep(2);
        // Its queued clean-up has not run (this thread was busy here): free it now, which also
        // drops that queued call.
        delete worker;
    }
}

void SyncController::start() {
    if (!m_worker && !m_stopped)
        startWorker(0);
}

void SyncController::stop() {
    m_stopped = true;
    m_relay.shutdown();
    if (m_worker)
        m_worker->requestStop();
}

void SyncController::startWorker(int startDelayMs) {
    auto* worker = new SyncThread(m_context, m_pages, m_ticker, &m_relay, m_options, startDelayMs);
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
    if (m_context.appRunning.isSet() && !m_stopped)
        startWorker(failed ? m_options.pollPeriodMs : 0);
    Q_EMIT workerEnded(failed);
}

} // namespace kovan
