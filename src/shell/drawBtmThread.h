#pragma once

#include "shell/TickerSheet.h"

#include <QImage>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kovan {

class TickerView;

// The rates ticker worker: builds the sheet from the quotes, then scrolls it through the view's
// layer a pixel row per 50 ms tick, and starts again with fresh quotes. It runs until isExit is
// non-zero (checked at the top of the main loop and on every tick).
//
// The worker never touches a widget: the view's layer is set up by the GUI thread on request
// (TickerView::requestLayer), and the end is announced through `onFinished`, which the owner
// makes post a queued call to itself.
//
// Threads: start(), join() and the destructor — the owner's thread (the GUI thread);
// requestExit(), isExit(), finished(), sheetWidth() — any thread; run() and `onFinished` —
// its own thread. `view` must outlive the thread.
class drawBtmThread {
public:
    // Reads the quotes (through the sync tables' lock); runs on the worker's thread.
    using Source = std::function<QList<TickerSheet::Entry>()>;
    // Runs on the worker's thread as its last step, once finished() holds.
    using FinishedHook = std::function<void()>;

    drawBtmThread(TickerView* view, Source source, QImage upArrow, QImage downArrow,
                  FinishedHook onFinished = {});
    ~drawBtmThread(); // asks the thread to stop and waits for it
    drawBtmThread(const drawBtmThread&) = delete;
    drawBtmThread& operator=(const drawBtmThread&) = delete;

    void start();
    void join();

    // isExit: 0 while it should run; any other value asks it to stop.
    void requestExit();
    int isExit() const { return m_isExit.load(std::memory_order_relaxed); }
    // Any thread: a paused worker sleeps without waking until it is resumed or told to stop,
    // and goes on scrolling where it stood (the main window hidden, nobody sees the band).
    void setPaused(bool paused);
    // True once run() has returned.
    bool finished() const { return m_finished.load(std::memory_order_acquire); }

    // The sheet width the set-up gave (−1 until set up).
    int sheetWidth() const { return m_sheetWidth.load(); }

    static constexpr int kTickMs = 50;
    static constexpr int kIdleMs = 100;

private:
    // Sleeps `ms`, longer while paused; false when told to stop meanwhile.
    bool waitTick(int ms);
    void run();
    bool setUpView(); // false when asked to stop while waiting for the GUI thread

    TickerView* m_view;
    Source m_source;
    FinishedHook m_onFinished;
    QImage m_upArrow;
    QImage m_downArrow;
    std::atomic<int> m_isExit{0};
    std::atomic<int> m_sheetWidth{-1};
    std::atomic<bool> m_finished{false};
    std::mutex m_waitMutex;
    std::condition_variable m_wake;
    bool m_paused = false; // guarded by m_waitMutex
    std::thread m_thread;
};

} // namespace kovan
