#include "shell/RatesTicker.h"

#include "shell/TickerView.h"

#include <QMetaObject>

namespace kovan {

RatesTicker::RatesTicker(TickerView* view, QObject* parent) : QObject(parent), m_view(view) {
    // A worker draws at the scale of the layer it set up: on a screen of another ratio the next
    // worker sets up a layer (and a sheet) at the new one.
    if (m_view)
        connect(m_view, &TickerView::scaleChanged, this, &RatesTicker::stop);
}

void RatesTicker::readFrom(const SharedSyncTables& tables, const AppRunningFlag& appRunning) {
    setSource([&tables] {
        return tables.with(
            [](const SyncTables& t) { return TickerSheet::entries(t.symbolCodes, t.quoteTable); });
    });
    setRunningCheck([&appRunning] { return appRunning.isSet(); });
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
    // Runs on the worker's thread; this ticker outlives the worker (shutdown() joins it).
    auto announceEnd = [this] {
        QMetaObject::invokeMethod(this, &RatesTicker::DTTTermaintate, Qt::QueuedConnection);
    };
    m_rateTicker = std::make_unique<drawBtmThread>(m_view, m_source, m_up, m_down, announceEnd);
    m_rateTicker->setPaused(m_paused);
    m_started.fetch_add(1);
    m_rateTicker->start();
}

void RatesTicker::setPaused(bool paused) {
    std::lock_guard lock(m_lock);
    m_paused = paused;
    if (m_rateTicker)
        m_rateTicker->setPaused(paused);
}

void RatesTicker::stop() {
    std::lock_guard lock(m_lock);
    if (m_rateTicker)
        m_rateTicker->requestExit();
}

void RatesTicker::shutdown() {
    std::unique_ptr<drawBtmThread> running;
    {
        std::lock_guard lock(m_lock);
        m_shutDown = true;
        running = std::move(m_rateTicker);
    }
    // The worker may be waiting for its layer from this thread; it gives up on the stop
    // request, so waiting for it here cannot deadlock.
    if (running) {
        running->requestExit();
        running->join();
    }
}

void RatesTicker::DTTTermaintate() {
    std::unique_ptr<drawBtmThread> ended;
    bool restart = false;
    {
        std::lock_guard lock(m_lock);
        if (!m_rateTicker || !m_rateTicker->finished())
            return;
        ended = std::move(m_rateTicker);
        restart = !m_shutDown;
    }
    ended->join();
    ended.reset();
    Q_EMIT tickerEnded();
    if (restart && m_running && m_running())
        startDrawRate();
}

} // namespace kovan
