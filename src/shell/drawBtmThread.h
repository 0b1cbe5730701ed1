#pragma once

#include "shell/TickerSheet.h"

#include <QImage>
#include <QThread>

#include <atomic>
#include <functional>

namespace kovan {

class TickerView;

// The rates ticker worker: builds the sheet from the quotes, then scrolls it through the view's
// layer a pixel row per 50 ms tick, and starts again with fresh quotes. It runs until isExit is
// non-zero (checked at the top of the main loop and on every tick).
//
// Threads: the constructor and requestExit()/isExit() — any thread; run() — its own thread. The
// view's layer is set up on the GUI thread on this thread's behalf; `view` must outlive the
// thread (RatesTicker::shutdown waits for it before the view goes).
class drawBtmThread : public QThread {
    Q_OBJECT
public:
    // Reads the quotes (through the sync tables' lock); any thread.
    using Source = std::function<QList<TickerSheet::Entry>()>;

    drawBtmThread(TickerView* view, Source source, QImage upArrow, QImage downArrow);

    // isExit: 0 while it should run; any other value asks it to stop.
    void requestExit() { m_isExit.store(-1, std::memory_order_relaxed); }
    int isExit() const { return m_isExit.load(std::memory_order_relaxed); }

    // The sheet width the set-up gave (−1 until set up). Any thread.
    int sheetWidth() const { return m_sheetWidth.load(); }

    static constexpr int kTickMs = 50;
    static constexpr int kIdleMs = 100;

protected:
    void run() override;

private:
    bool setUpView(); // false when asked to stop while waiting for the GUI thread

    TickerView* m_view;
    Source m_source;
    QImage m_upArrow;
    QImage m_downArrow;
    std::atomic<int> m_isExit{0};
    std::atomic<int> m_sheetWidth{-1};
};

} // namespace kovan
