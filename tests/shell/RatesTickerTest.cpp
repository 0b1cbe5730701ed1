#include "WaitUntil.h"

#include "core/ProgramState.h"
#include "shell/RatesTicker.h"
#include "shell/TickerView.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kovan {
namespace {

using kovan::test::waitUntil;

// Counts tickerEnded signals (GUI thread).
struct EndCounter {
    explicit EndCounter(RatesTicker& t) {
        QObject::connect(&t, &RatesTicker::tickerEnded, &t, [this] { ++count; });
    }
    int count = 0;
};

// Twelve symbols, all fallen: every cell shows the down arrow.
QList<TickerSheet::Entry> twelve() {
    QList<TickerSheet::Entry> out;
    for (int i = 0; i < 12; ++i)
        out.append({QStringLiteral("S%1").arg(i), QStringLiteral("1.%1").arg(i), true});
    return out;
}

// Whatever the scroll offset, a 25-row window meets one of the arrows (10 rows every 25) in
// the column of the second cell.
bool showsDownArrow(const QImage& layer) {
    for (int y = 0; y < layer.height(); ++y)
        if (layer.pixel(140 + 3, y) == qRgb(0, 200, 0))
            return true;
    return false;
}

QImage arrow(QRgb fill) {
    QImage img(12, 10, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

class RatesTickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(920, 25);
        ticker.setArrows(arrow(TickerSheet::kArrowSkip), arrow(qRgb(0, 200, 0)));
        ticker.setSource([] { return twelve(); });
        ticker.setRunningCheck([this] { return running.load(); });
    }

    TickerView view;
    RatesTicker ticker{&view};
    std::atomic<bool> running{true};
};

TEST_F(RatesTickerTest, StartsOnceAndDrawsIntoTheLayer) {
    EXPECT_FALSE(ticker.tickerExists());
    ticker.startDrawRate();
    EXPECT_TRUE(ticker.tickerExists());
    // A second start while one runs does not make a second worker.
    ticker.startDrawRate();
    EXPECT_EQ(ticker.startedCount(), 1);
    ASSERT_TRUE(waitUntil([&] { return ticker.currentSheetWidth() == 895; }));
    // The layer is the view's width less the 25-pixel plate, 25 high, and fills with cells.
    ASSERT_TRUE(waitUntil([&] {
        const QImage layer = view.layerCopy();
        return layer.size() == QSize(895, 25) && showsDownArrow(layer);
    }));
}

TEST_F(RatesTickerTest, StopRestartsWithTheNewWidth) {
    EndCounter ended(ticker);
    ticker.startDrawRate();
    ASSERT_TRUE(waitUntil([&] { return ticker.currentSheetWidth() == 895; }));
    view.resize(600, 25);
    ticker.stop();
    ASSERT_TRUE(waitUntil([&] { return ended.count == 1; }));
    EXPECT_EQ(ticker.startedCount(), 2);
    ASSERT_TRUE(waitUntil([&] { return ticker.currentSheetWidth() == 575; }));
    EXPECT_EQ(view.layerCopy().width(), 575);
}

TEST_F(RatesTickerTest, NoRestartOnceTheApplicationStops) {
    EndCounter ended(ticker);
    ticker.startDrawRate();
    ASSERT_TRUE(waitUntil([&] { return ticker.currentSheetWidth() == 895; }));
    running = false;
    ticker.stop();
    ASSERT_TRUE(waitUntil([&] { return ended.count == 1; }));
    EXPECT_FALSE(ticker.tickerExists());
    EXPECT_EQ(ticker.startedCount(), 1);
}

TEST_F(RatesTickerTest, StartFromAnotherThread) {
    std::thread sync([this] {
        if (!ticker.tickerExists())
            ticker.startDrawRate();
    });
    sync.join();
    EXPECT_TRUE(ticker.tickerExists());
    ASSERT_TRUE(waitUntil([&] { return ticker.currentSheetWidth() == 895; }));
    EndCounter ended(ticker);
    running = false;
    std::thread other([this] { ticker.stop(); });
    other.join();
    ASSERT_TRUE(waitUntil([&] { return ended.count == 1; }));
    EXPECT_FALSE(ticker.tickerExists());
}

TEST_F(RatesTickerTest, ShutdownWhileTheSetUpIsPending) {
    // The worker waits for the GUI thread to set up the layer; shutting down without turning
    // the event loop must not hang.
    EndCounter ended(ticker);
    ticker.startDrawRate();
    ticker.shutdown();
    EXPECT_FALSE(ticker.tickerExists());
    ticker.startDrawRate();
    EXPECT_FALSE(ticker.tickerExists());
    // The ended worker's queued end finds nothing to reap; the layer it asked for is not made.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ended.count, 0);
    EXPECT_EQ(ticker.startedCount(), 1);
    EXPECT_TRUE(view.layerCopy().isNull());
}

TEST_F(RatesTickerTest, NoTimerWakesTheGuiThread) {
    // The worker's end and its layer and repaint requests arrive as queued calls: while a
    // worker scrolls, no timer belongs to the ticker, the view or their children.
    ticker.startDrawRate();
    ASSERT_TRUE(waitUntil([&] { return showsDownArrow(view.layerCopy()); }));
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* owner : {static_cast<QObject*>(&ticker), static_cast<QObject*>(&view)}) {
        QList<QObject*> objects = owner->findChildren<QObject*>();
        objects.prepend(owner);
        for (QObject* o : objects)
            EXPECT_TRUE(dispatcher->registeredTimers(o).isEmpty()) << o->metaObject()->className();
    }
}

TEST_F(RatesTickerTest, EndQueuedForAGoneTickerIsDropped) {
    auto* owner = new RatesTicker(&view);
    owner->setArrows(arrow(TickerSheet::kArrowSkip), arrow(qRgb(0, 200, 0)));
    owner->setSource([] { return twelve(); });
    owner->setRunningCheck([] { return true; });
    owner->startDrawRate();
    ASSERT_TRUE(waitUntil([&] { return owner->currentSheetWidth() == 895; }));
    owner->stop();
    // The destructor joins the worker, whose end is then queued for the ticker being
    // destroyed; the queued call must go with it, not run on freed memory (which the
    // AddressSanitizer build reports).
    delete owner;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

TEST(RatesTickerSource, ReadsTheSyncTables) {
    program().reset();
    program().sync.with([](SyncTables& t) {
        t.symbolCodes = QStringList{"XAGRMB", "CADRMB"};
        t.quoteTable.setValue(u"XAGRMB_showname", "现货白银");
        t.quoteTable.setValue(u"XAGRMB_BID", "3521");
        t.quoteTable.setValue(u"XAGRMB_CG", "-1");
        t.quoteTable.setValue(u"CADRMB_showname", "现货铜");
        t.quoteTable.setValue(u"CADRMB_BID", "48000");
    });
    program().appRunning.set(true);
    TickerView view;
    view.resize(400, 25); // 375-pixel sheet: 2 cells per row
    RatesTicker ticker(&view);
    ticker.readFrom(program().sync, program().appRunning);
    ticker.setArrows(arrow(TickerSheet::kArrowSkip), arrow(qRgb(0, 200, 0)));
    ticker.startDrawRate();
    // The down arrow of the first symbol reaches the layer.
    ASSERT_TRUE(waitUntil([&] {
        const QImage layer = view.layerCopy();
        return layer.width() == 375 && layer.pixel(3, 8) == qRgb(0, 200, 0);
    }));
    program().appRunning.set(false);
    ticker.shutdown();
    program().reset();
}

} // namespace
} // namespace kovan
