#include "shell/drawBtmThread.h"

#include "shell/TickerScroll.h"
#include "shell/TickerView.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace kovan {

drawBtmThread::drawBtmThread(TickerView* view, Source source, QImage upArrow, QImage downArrow)
    : m_view(view), m_source(std::move(source)), m_upArrow(std::move(upArrow)),
      m_downArrow(std::move(downArrow)) {
    // Deep copies: the worker reads them while the GUI thread may touch the originals.
    m_upArrow.detach();
    m_downArrow.detach();
}

bool drawBtmThread::setUpView() {
    // The layer belongs to a widget the GUI thread paints, so the GUI thread replaces it. Wait
    // for it without blocking that thread's own shutdown: a stop request ends the wait.
    struct Slot {
        std::mutex lock;
        std::condition_variable done;
        bool ready = false;
        int width = 0;
    };
    auto slot = std::make_shared<Slot>();
    TickerView* view = m_view;
    QMetaObject::invokeMethod(
        view,
        [slot, view] {
            const int w = view->resetLayer();
            std::lock_guard lock(slot->lock);
            slot->width = w;
            slot->ready = true;
            slot->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(slot->lock);
    while (!slot->ready) {
        if (isExit() != 0)
            return false;
        slot->done.wait_for(lock, std::chrono::milliseconds(10));
    }
    m_sheetWidth.store(slot->width);
    return true;
}

void drawBtmThread::run() {
    if (!setUpView())
        return;
    const int sheetWidth = m_sheetWidth.load();
    QImage sheet;
    while (isExit() == 0) {
        const QList<TickerSheet::Entry> entries =
            m_source ? m_source() : QList<TickerSheet::Entry>{};
        const int rows = entries.isEmpty() ? 0
                                           : TickerSheet::build(sheet, sheetWidth, entries,
                                                                m_upArrow, m_downArrow);
        if (rows == 0) {
            // Nothing quoted yet, or no room for one cell: keep the last picture and poll.
            msleep(kIdleMs);
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
            msleep(kTickMs);
        }
    }
}

} // namespace kovan
