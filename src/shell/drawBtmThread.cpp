#include "shell/drawBtmThread.h"

#include "shell/TickerScroll.h"
#include "shell/TickerView.h"

#include <chrono>

namespace kovan {

drawBtmThread::drawBtmThread(TickerView* view, Source source, QImage upArrow, QImage downArrow,
                             FinishedHook onFinished)
    : m_view(view), m_source(std::move(source)), m_onFinished(std::move(onFinished)),
      m_upArrow(std::move(upArrow)), m_downArrow(std::move(downArrow)) {
    // Own copies: the worker reads them while the GUI thread may touch the originals.
    m_upArrow.detach();
    m_downArrow.detach();
}

drawBtmThread::~drawBtmThread() {
    requestExit();
    join();
}

void drawBtmThread::requestExit() {
    std::lock_guard lock(m_waitMutex);
    m_isExit.store(-1, std::memory_order_relaxed);
    m_wake.notify_all();
}

void drawBtmThread::setPaused(bool paused) {
    std::lock_guard lock(m_waitMutex);
    m_paused = paused;
    m_wake.notify_all();
}

bool drawBtmThread::waitTick(int ms) {
    std::unique_lock lock(m_waitMutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return isExit() != 0; });
    m_wake.wait(lock, [this] { return isExit() != 0 || !m_paused; });
    return isExit() == 0;
}

void drawBtmThread::start() {
    m_thread = std::thread([this] {
        run();
        m_finished.store(true, std::memory_order_release);
        if (m_onFinished)
            m_onFinished();
    });
}

void drawBtmThread::join() {
    if (m_thread.joinable())
        m_thread.join();
}

bool drawBtmThread::setUpView() {
    // The layer belongs to a widget the GUI thread paints, so the GUI thread replaces it. A
    // stop request ends the wait, so the GUI thread may wait for this thread meanwhile.
    const int width = m_view->requestLayer([this] { return isExit() != 0; });
    if (width < 0)
        return false;
    m_sheetWidth.store(width);
    return true;
}

void drawBtmThread::run() {
    if (!setUpView())
        return;
    const int sheetWidth = m_sheetWidth.load();
    const DeviceScale scale = m_view->layerScale(); // the layer's, taken with its width
    QImage sheet;
    while (isExit() == 0) {
        const QList<TickerSheet::Entry> entries =
            m_source ? m_source() : QList<TickerSheet::Entry>{};
        const int rows = entries.isEmpty() ? 0
                                           : TickerSheet::build(sheet, sheetWidth, entries,
                                                                m_upArrow, m_downArrow, scale);
        if (rows == 0) {
            // Nothing quoted yet, or no room for one cell: keep the last picture and poll.
            waitTick(kIdleMs);
            continue;
        }
        TickerScroll scroll(rows);
        m_view->showSheetRows(sheet, TickerScroll::initialOffset());
        while (isExit() == 0) {
            const TickerScroll::Step step = scroll.tick();
            if (step.offset)
                m_view->showSheetRows(sheet, *step.offset);
            if (step.done)
                break;
            // The hold after each row shows nothing new: one wait covers all of its ticks.
            waitTick(kTickMs * (1 + scroll.skipQuietTicks()));
        }
    }
}

} // namespace kovan
