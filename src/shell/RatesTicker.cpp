#include "shell/RatesTicker.h"

#include "core/ProgramState.h"
#include "shell/TickerView.h"

namespace kovan {

RatesTicker::RatesTicker(TickerView* view, QObject* parent) : QObject(parent), m_view(view) {
    m_source = [] {
        return program().sync.with(
            [](const SyncTables& t) { return TickerSheet::entries(t.symbolCodes, t.quoteTable); });
    };
    m_running = [] { return program().appRunning(); };
}

RatesTicker::~RatesTicker() {
    shutdown();
}

void RatesTicker::setArrows(const QImage& up, const QImage& down) {
    std::lock_guard lock(m_lock);
    m_up = up;
    m_down = down;
}

void RatesTicker::setSource(drawBtmThread::Source source) {
    std::lock_guard lock(m_lock);
    m_source = std::move(source);
}

bool RatesTicker::tickerExists() const {
    std::lock_guard lock(m_lock);
    return m_rateTicker != nullptr;
}

int RatesTicker::currentSheetWidth() const {
    std::lock_guard lock(m_lock);
    return m_rateTicker ? m_rateTicker->sheetWidth() : -1;
}

void RatesTicker::startDrawRate() {
    std::lock_guard lock(m_lock);
    if (m_rateTicker || m_shutDown)
        return;
    auto* thread = new drawBtmThread(m_view, m_source, m_up, m_down);
    // The worker object is handed to the GUI thread, where its termination handler frees it;
    // the calling thread (often the sync worker) runs no event loop.
    thread->moveToThread(QObject::thread());
    m_rateTicker = thread;
    connect(
        thread, &QThread::finished, this, [this, thread] { DTTTermaintate(thread); },
        Qt::QueuedConnection);
    m_started.fetch_add(1);
    thread->start();
}

void RatesTicker::stop() {
    std::lock_guard lock(m_lock);
    if (m_rateTicker)
        m_rateTicker->requestExit();
}

void RatesTicker::shutdown() {
    drawBtmThread* running = nullptr;
    {
        std::lock_guard lock(m_lock);
        m_shutDown = true;
        running = m_rateTicker;
        m_rateTicker = nullptr;
        if (running)
            running->requestExit();
    }
    // The worker may be waiting for its view set-up on this thread; it gives up on the stop
    // request, so waiting here cannot deadlock. A termination handler still queued for it finds
    // the slot no longer holding it and leaves it alone.
    if (running) {
        running->wait();
        delete running;
    }
}

void RatesTicker::DTTTermaintate(drawBtmThread* thread) {
    bool restart = false;
    {
        std::lock_guard lock(m_lock);
        if (m_rateTicker != thread)
            return; // already taken down by shutdown()
        m_rateTicker = nullptr;
        restart = !m_shutDown;
    }
    thread->wait();
    thread->deleteLater();
    Q_EMIT tickerEnded();
    if (restart && m_running && m_running())
        startDrawRate();
}

} // namespace kovan
