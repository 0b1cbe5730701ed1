// The chart feed against a data server on 127.0.0.1: addresses, the hand-over of replies to
// the GUI thread, the locked/UPDAED handshake, history writes, replacement after a failure,
// and stopping.

#include "chart/ChartFeedRunner.h"
#include "chart/HistoryFile.h"
#include "core/ProgramState.h"

#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>

using namespace kovan;
using kovan::test::TestServer;

namespace {

std::string barsReply(std::int64_t firstD, int n, double close, double bid) {
    std::string data;
    for (int i = 0; i < n; ++i) {
        if (!data.empty())
            data += ',';
        const std::string c = std::to_string(close + i);
        data += "{\"D\":" + std::to_string(firstD + i * 3600) + ",\"O\":" + c + ",\"H\":" + c +
                ",\"L\":" + c + ",\"C\":" + c + "}";
    }
    return "{\"status\":1,\"count\":" + std::to_string(n) + ",\"data\":[" + data +
           "],\"BID\":" + std::to_string(bid) + "}";
}

// A window's side of the feed, without a chart: merges into its own series on the GUI thread.
struct FakeWindow {
    PChartData series = std::make_shared<ChartDataInfoRecord>();
    QString historyPath;
    std::atomic<int> merges{0};
    std::atomic<int> mergesWhileShared{0}; // the feed still held the last snapshot
    std::atomic<bool> offGuiThread{false};

    FakeWindow(const QString& sym, const QString& ped) {
        series->setSymbol(sym);
        series->setPeriod(ped);
    }
    ChartFeedRunner::Merged merge(const ChartReply& reply, const QString& sym, const QString& ped) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            offGuiThread = true;
        ChartFeedRunner::Merged m;
        if (series->locked || series->symbol != sym || series->period != ped)
            return m;
        if (!series->datalist.alone())
            ++mergesWhileShared;
        const ChartMergeResult r = mergeChartBars(series->datalist, reply.data);
        ++merges;
        m.outcome.merged = true;
        m.lastDl = lastBarTime(series->datalist);
        if (r.added && !historyPath.isEmpty()) {
            m.outcome.save = true;
            m.outcome.historyPath = historyPath;
            m.outcome.bars = series->datalist;
        }
        return m;
    }
};

class ChartFeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().appRunning.set(true);
        m_timing.pollMs = 20;
        m_timing.lockedMs = 100;
        m_timing.connectTimeoutMs = 2000;
        m_timing.readTimeoutMs = 2000;
    }
    void TearDown() override {
        program().appRunning.set(false);
        // Feeds still winding down end here, before the next test's server.
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
        test::pumpFor(20);
    }

    void startRunner(ChartFeedRunner& runner, FakeWindow& w, int port,
                     std::optional<qint32> lastDl = std::nullopt) {
        runner.setTiming(m_timing);
        runner.setReplyHandler([&w](const ChartReply& r, const QString& s, const QString& p) {
            return w.merge(r, s, p);
        });
        runner.start({QStringLiteral("http://127.0.0.1:%1").arg(port), w.series->symbol,
                      w.series->period, lastDl},
                     w.series);
    }

    static std::vector<std::string> paths(const TestServer& server) {
        std::vector<std::string> out;
        for (const auto& r : server.seen())
            out.push_back(r.path);
        return out;
    }

    ChartFeedTiming m_timing;
};

} // namespace

TEST_F(ChartFeedTest, FirstTheInitialBlockThenFromTheLastBarMergedOnTheGuiThread) {
    TestServer server([](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/chart/XAGRMB/H1/0/1024")
            res.set_content(barsReply(1700000000, 3, 5600, 5602), "application/json");
        else
            res.set_content(barsReply(1700007200, 1, 5602, 5602), "application/json");
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 3; }));
    runner.stop();
    const auto seen = paths(server);
    EXPECT_EQ(seen[0], "/chart/XAGRMB/H1/0/1024");
    EXPECT_EQ(seen[1], "/chart/XAGRMB/H1/1700007200/0");
    EXPECT_EQ(seen[2], "/chart/XAGRMB/H1/1700007200/0");
    EXPECT_EQ(w.series->datalist.size(), 3u);
    EXPECT_FALSE(w.offGuiThread);
    // The block, then the first incremental reply; the same reply again would change nothing
    // and is not handed over a second time.
    EXPECT_EQ(w.merges, 2);
}

TEST_F(ChartFeedTest, RepliesThatCannotMergeAreDroppedAndPollingGoesOn) {
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request&, httplib::Response& res) {
        const char* bodies[] = {"garbage", R"({"status":0,"count":3,"data":[]})",
                                R"({"status":1,"count":0,"data":[],"BID":9})"};
        res.set_content(bodies[n++ % 3], "application/json");
    });
    FakeWindow w("XAU", "M5");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 6; }));
    runner.stop();
    EXPECT_EQ(w.merges, 0);
    EXPECT_EQ(runner.feedsStarted(), 1); // none of them ended the feed
    for (const auto& p : paths(server))
        EXPECT_EQ(p, "/chart/XAU/M5/0/1024"); // still nothing known
}

TEST_F(ChartFeedTest, LockedSeriesIsAcknowledgedAndNotRequested) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(barsReply(1700000000, 1, 5600, 5600), "application/json");
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 2; }));
    ChartProcess* feed = runner.CPThread();
    ASSERT_NE(feed, nullptr);
    EXPECT_FALSE(feed->UPDAED());

    w.series->locked = true;
    ASSERT_TRUE(test::waitUntil([&] { return feed->UPDAED(); }, 5000));
    const size_t whileLocked = server.count();
    test::pumpFor(350); // a few lock pauses
    EXPECT_EQ(server.count(), whileLocked);
    EXPECT_TRUE(feed->UPDAED());

    w.series->locked = false;
    ASSERT_TRUE(test::waitUntil([&] { return server.count() > whileLocked; }, 5000));
    ASSERT_TRUE(test::waitUntil([&] { return !feed->UPDAED(); }, 5000));
    runner.stop();
}

TEST_F(ChartFeedTest, APeriodSwitchMovesTheRequestsAndDropsTheOldPeriodsReply) {
    // The old period's reply is held until the switch has happened.
    std::mutex gate;
    gate.lock();
    TestServer server([&gate](const httplib::Request& req, httplib::Response& res) {
        if (req.path.find("/H1/") != std::string::npos) {
            std::lock_guard hold(gate);
            res.set_content(barsReply(1700000000, 2, 5600, 5601), "application/json");
        } else {
            res.set_content(barsReply(1700000300, 1, 5700, 5700), "application/json");
        }
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 1; }));
    // The window switches to M5 while the H1 request is out.
    w.series->setPeriod(QStringLiteral("M5"));
    runner.setTarget(QStringLiteral("M5"), std::nullopt);
    gate.unlock();
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 3; }));
    runner.stop();
    const auto seen = paths(server);
    EXPECT_EQ(seen[0], "/chart/XAGRMB/H1/0/1024");
    EXPECT_EQ(seen[1], "/chart/XAGRMB/M5/0/1024");
    EXPECT_EQ(seen[2], "/chart/XAGRMB/M5/1700000300/0");
    ASSERT_EQ(w.series->datalist.size(), 1u); // the H1 bars never went in
    EXPECT_EQ(w.series->datalist[0].close, 5700.0f);
}

TEST_F(ChartFeedTest, AFailedFeedIsReplacedAfterItsPauseNotAtOnce) {
    const int port = test::refusedPort();
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    runner.setPauseMs(250);
    std::vector<bool> ends;
    QObject::connect(&runner, &ChartFeedRunner::feedEnded,
                     [&ends](bool byError, const QString&) { ends.push_back(byError); });
    QElapsedTimer clock;
    clock.start();
    startRunner(runner, w, port);
    ASSERT_EQ(runner.CPThread()->startDelayMs(), 0); // the first one asks at once
    ASSERT_TRUE(test::waitUntil([&] { return runner.feedsStarted() >= 4; }, 10000));
    // The second and third feeds each waited out the pause before asking (and failing): a
    // refused connection does not spin.
    EXPECT_GE(clock.elapsed(), 2 * 250);
    ASSERT_NE(runner.CPThread(), nullptr);
    EXPECT_EQ(runner.CPThread()->startDelayMs(), 250);
    ASSERT_GE(ends.size(), 3u);
    EXPECT_TRUE(ends[0]);
    EXPECT_TRUE(ends[1]);
    EXPECT_TRUE(ends[2]);
    runner.stop();
    ASSERT_TRUE(test::waitUntil([&] { return runner.CPThread() == nullptr; }));
    const int started = runner.feedsStarted();
    test::pumpFor(400);
    EXPECT_EQ(runner.feedsStarted(), started); // stopped for good
}

TEST_F(ChartFeedTest, AReplacementGoesOnFromTheMergedBars) {
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request&, httplib::Response& res) {
        if (n++ == 1) {
            res.status = 500; // the second request fails: the feed ends
            return;
        }
        res.set_content(barsReply(1700000000, 2, 5600, 5601), "application/json");
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    runner.setPauseMs(50);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 3; }));
    runner.stop();
    EXPECT_GE(runner.feedsStarted(), 2);
    const auto seen = paths(server);
    EXPECT_EQ(seen[2], "/chart/XAGRMB/H1/1700003600/0"); // not the initial block again
}

TEST_F(ChartFeedTest, ClosingStopsTheFeedAndItsRequestInFlight) {
    std::atomic<bool> release{false};
    TestServer server([&release](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 500 && !release; ++i)
            QThread::msleep(10); // a request that hangs
        res.set_content(barsReply(1700000000, 1, 5600, 5600), "application/json");
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 1; }));
    ChartProcess* feed = runner.CPThread();
    ASSERT_NE(feed, nullptr);
    runner.stop(); // isRuning first, then the feed's isRun
    EXPECT_FALSE(runner.isRuning());
    // The hanging request is cancelled: the feed ends long before the server answers.
    ASSERT_TRUE(test::waitUntil([&] { return runner.CPThread() == nullptr; }, 3000));
    EXPECT_FALSE(release.load());
    EXPECT_EQ(runner.feedsStarted(), 1);
    EXPECT_EQ(w.merges, 0);
    release = true;
}

TEST_F(ChartFeedTest, HistoryThatCannotBeWrittenEndsTheFeedAndTheBarsStay) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(barsReply(1700000000, 3, 5600, 5602), "application/json");
    });
    QTemporaryDir dir;
    // The history "folder" is a file: the save fails.
    QFile blocker(dir.path() + "/history");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FakeWindow w("XAGRMB", "H1");
    w.historyPath = historyFilePath(dir.path() + "/", "XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    runner.setPauseMs(60000); // no replacement within this test
    QString why;
    bool byError = false;
    QObject::connect(&runner, &ChartFeedRunner::feedEnded, [&](bool e, const QString& text) {
        byError = e;
        why = text;
    });
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return !why.isEmpty(); }));
    EXPECT_TRUE(byError);
    EXPECT_EQ(w.series->datalist.size(), 3u);
    EXPECT_EQ(runner.feedsStarted(), 2); // the replacement waits out its pause
    runner.stop();
}

TEST_F(ChartFeedTest, TwoFeedsOfOnePairWriteOneWholeHistoryFile) {
    // Every reply brings a new bar, so both feeds save after every request.
    std::atomic<std::int64_t> next{1700000000};
    TestServer server([&next](const httplib::Request&, httplib::Response& res) {
        res.set_content(barsReply(next.fetch_add(3600), 1, 5600, 5600), "application/json");
    });
    QTemporaryDir dir;
    const QString path = historyFilePath(dir.path() + "/", "XAGRMB", "H1");
    FakeWindow a("XAGRMB", "H1"), b("XAGRMB", "H1");
    a.historyPath = b.historyPath = path;
    ChartFeedRunner ra(&program().appRunning), rb(&program().appRunning);
    startRunner(ra, a, server.port());
    startRunner(rb, b, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return a.merges >= 15 && b.merges >= 15; }));
    ra.stop();
    rb.stop();
    ASSERT_TRUE(
        test::waitUntil([&] { return ra.CPThread() == nullptr && rb.CPThread() == nullptr; }));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size() % 20, 0);
    ChartDataList bars;
    parseHistoryBytes(bytes, bars);
    // The file is one window's whole series, never a mix of two.
    const bool isA = bars == a.series->datalist;
    const bool isB = bars == b.series->datalist;
    EXPECT_TRUE(isA || isB);
    // Each feed wrote a snapshot of its series and dropped it before its next reply, so every
    // merge appended in place (no copy of the bars).
    EXPECT_EQ(a.mergesWhileShared, 0);
    EXPECT_EQ(b.mergesWhileShared, 0);
}

TEST_F(ChartFeedTest, ARepliesTextIsItsDecodedBodyAndNonAsciiRepliesStillMerge) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        std::string body = barsReply(1700000000, 3, 5600, 5602);
        body.insert(1, "\"name\":\"\xE7\x99\xBD\xE9\x93\xB6\","); // 白银, in UTF-8
        res.set_content(body, "application/json; charset=utf-8");
    });
    FakeWindow w("XAGRMB", "H1");
    ChartFeedRunner runner(&program().appRunning);
    startRunner(runner, w, server.port());
    ASSERT_TRUE(test::waitUntil([&] { return w.merges >= 1 && server.count() >= 2; }));
    ChartProcess* feed = runner.CPThread();
    ASSERT_NE(feed, nullptr);
    EXPECT_TRUE(feed->resStr().startsWith(QStringLiteral("{\"name\":\"白银\",\"status\":1")));
    runner.stop();
    EXPECT_EQ(w.series->datalist.size(), 3u);
    EXPECT_EQ(w.merges, 1); // the same bytes again: not handed over
}
