#include "core/ProgramState.h"
#include "net/SyncController.h"

#include "ChangedViews.h"
#include "ProgramPieces.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

using namespace kovan;
using kovan::test::TestServer;

namespace {

const std::string kSymbols =
    R"("symbolinfo":{"XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":1}})";

std::string syncReply(const std::string& sessid, const std::string& extra = {}) {
    return R"({"status":1,"sessid":")" + sessid + "\"," + kSymbols +
           (extra.empty() ? "" : "," + extra) + "}";
}

// Records the calls the worker hands over; checks they arrive on the GUI thread.
class RecordingPages : public ISectionPages {
public:
    void checkRefresh(ContentSectionSet changed) override {
        onGui = onGui && QThread::currentThread() == QCoreApplication::instance()->thread();
        const SyncTables t = program().sync.snapshot();
        for (const QString& view : test::changedSectionViews(changed))
            scripts << view + u':' + program().session.sessid();
        ++refreshes;
    }
    void forceReload(const QString& which) override {
        onGui = onGui && QThread::currentThread() == QCoreApplication::instance()->thread();
        reloads << which;
    }
    QStringList scripts;
    QStringList reloads;
    int refreshes = 0;
    bool onGui = true;
};

class RecordingTicker : public IRatesTicker {
public:
    bool tickerExists() const override { return m_exists.load(); }
    void startDrawRate() override {
        m_fromWorker = QThread::currentThread() != QCoreApplication::instance()->thread();
        // The ticker reads the tables the way the real one will: a snapshot under the lock.
        const SyncTables t = program().sync.snapshot();
        m_codes = int(t.symbolCodes.size());
        m_exists = true;
        ++m_starts;
    }
    std::atomic<bool> m_exists{false};
    std::atomic<bool> m_fromWorker{false};
    std::atomic<int> m_starts{0};
    std::atomic<int> m_codes{0};
};

class SyncThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().session.setSessid(QStringLiteral("sess1"));
        program().appRunning.set(true);
        m_options.pollPeriodMs = 100;
        m_options.connectTimeoutMs = 2000;
        m_options.readTimeoutMs = 2000;
    }
    void TearDown() override { program().appRunning.set(false); }
    void pointAt(const TestServer& server) {
        program().paths.endpoints.dataServer = HostPort{server.host(), quint16(server.port())};
    }
    // Clears appRunning and waits until no worker is left, as the exit procedure does.
    void shutDown(SyncController& c) {
        program().appRunning.set(false);
        EXPECT_TRUE(test::waitUntil([&] { return !c.hasWorker(); }));
    }

    SyncOptions m_options;
    RecordingPages m_pages;
    RecordingTicker m_ticker;
};

TEST_F(SyncThreadTest, DefaultPeriodAndTimeouts) {
    const SyncOptions o;
    EXPECT_EQ(o.pollPeriodMs, 1000);
    EXPECT_EQ(o.connectTimeoutMs, 60000);
    EXPECT_EQ(o.readTimeoutMs, 60000);
}

TEST_F(SyncThreadTest, PollsTheSessionUrlAndFeedsTheTables) {
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request&, httplib::Response& res) {
        const int i = n++;
        res.set_content(syncReply("sess1", R"("LUDsign":)" + std::to_string(i < 2 ? 5 : 6) +
                                               R"(,"ratecount":1,"rate":[{"S":"XAU","B":"120)" +
                                               std::to_string(i % 10) + R"("}])"),
                        "application/json; charset=utf-8");
    });
    pointAt(server);
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return n >= 4; }));
    shutDown(c);
    EXPECT_EQ(c.workersStarted(), 1);
    for (const auto& r : server.seen()) {
        EXPECT_EQ(r.method, "GET");
        EXPECT_EQ(r.path, "/sync/sess1");
    }
    // One connection for the worker's life.
    const auto seen = server.seen();
    EXPECT_EQ(seen.front().remotePort, seen.back().remotePort);
    EXPECT_TRUE(m_pages.onGui);
    EXPECT_EQ(m_pages.refreshes, 2); // stamp 5 first, then 6
    EXPECT_EQ(m_pages.scripts,
              (QStringList{QStringLiteral("sgWeb:sess1"), QStringLiteral("sgWeb:sess1")}));
    EXPECT_TRUE(m_pages.reloads.isEmpty());
    EXPECT_EQ(m_ticker.m_starts, 1);
    EXPECT_TRUE(m_ticker.m_fromWorker);
    EXPECT_EQ(m_ticker.m_codes, 1);
    const SyncTables t = program().sync.snapshot();
    EXPECT_TRUE(t.quoteTable.value(u"XAU_BID").startsWith(u"120"));
    EXPECT_EQ(t.quoteTable.value(u"XAU_showname"), QStringLiteral("黄金美元"));
}

TEST_F(SyncThreadTest, SessionChangeReloadsAllOnTheGuiThreadAndIsUsedNext) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(syncReply("sess2"), "application/json");
    });
    pointAt(server);
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 3; }));
    shutDown(c);
    EXPECT_EQ(m_pages.reloads, QStringList{QStringLiteral("all")});
    EXPECT_TRUE(m_pages.onGui);
    const auto seen = server.seen();
    EXPECT_EQ(seen[0].path, "/sync/sess1");
    EXPECT_EQ(seen[1].path, "/sync/sess2");
    EXPECT_EQ(program().session.sessid(), QStringLiteral("sess2"));
}

TEST_F(SyncThreadTest, AppRunningClearedDuringARequestEndsAfterThatCycleWithoutRestart) {
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    std::atomic<bool> inRequest{false};
    TestServer server([&](const httplib::Request&, httplib::Response& res) {
        inRequest = true;
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        res.set_content(syncReply("sess1", R"("ratecount":1,"rate":[{"S":"XAU","B":"1300"}])"),
                        "application/json");
    });
    pointAt(server);
    m_options.pollPeriodMs = 300;
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    bool endedByError = true;
    QObject::connect(&c, &SyncController::workerEnded, [&](bool e) { endedByError = e; });
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return inRequest.load(); }));
    program().appRunning.set(false);
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    ASSERT_TRUE(test::waitUntil([&] { return !c.hasWorker(); }));
    EXPECT_FALSE(endedByError);
    EXPECT_EQ(c.workersStarted(), 1);
    EXPECT_EQ(server.count(), 1u);
    // The cycle in flight was processed.
    EXPECT_EQ(program().sync.snapshot().quoteTable.value(u"XAU_BID"), QStringLiteral("1300"));
    test::pumpFor(400);
    EXPECT_EQ(c.workersStarted(), 1);
}

TEST_F(SyncThreadTest, RefusedConnectionDoesNotSpin) {
    program().paths.endpoints.dataServer =
        HostPort{QStringLiteral("127.0.0.1"), quint16(test::refusedPort())};
    m_options.pollPeriodMs = 1000;
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    int failures = 0;
    QObject::connect(&c, &SyncController::workerEnded, [&](bool e) { failures += e ? 1 : 0; });
    c.start();
    test::pumpFor(2500);
    // A failing worker's replacement waits one period: the first at once, then about one a
    // second (a busy loop would have made thousands by now).
    EXPECT_GE(failures, 1);
    EXPECT_LE(c.workersStarted(), 4);
    shutDown(c);
}

TEST_F(SyncThreadTest, UnusableRepliesAndHttpErrorsRestartTheWorkerAtMostOncePerPeriod) {
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request&, httplib::Response& res) {
        const int i = n++;
        if (i % 2 == 0) {
            res.status = 500;
            res.set_content("oops", "text/plain");
        } else {
            res.set_content("not json", "text/plain");
        }
    });
    pointAt(server);
    m_options.pollPeriodMs = 200;
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    test::pumpFor(1100);
    shutDown(c);
    // One request at once, then one per 200 ms period at most.
    EXPECT_GE(server.count(), 2u);
    EXPECT_LE(server.count(), 7u);
    // Every worker made one request, except perhaps the last one, still in its hold-back
    // period when appRunning was cleared: it ended without a request.
    EXPECT_GE(c.workersStarted(), int(server.count()));
    EXPECT_LE(c.workersStarted(), int(server.count()) + 1);
}

TEST_F(SyncThreadTest, ReplyToARequestSentBeforeALoginKeepsTheNewSession) {
    // The server names the session each request carried. The first request is answered only
    // after a login has replaced the session: its reply names the old one and is dropped; the
    // next poll carries the new session.
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request& req, httplib::Response& res) {
        if (n++ == 0)
            program().session.setSessid(QStringLiteral("member7")); // the login's reply, meanwhile
        res.set_content(syncReply(req.path.substr(std::string("/sync/").size())),
                        "application/json");
    });
    pointAt(server);
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return n >= 3; }));
    shutDown(c);
    const auto seen = server.seen();
    EXPECT_EQ(seen[0].path, "/sync/sess1");
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].path, "/sync/member7");
    EXPECT_EQ(program().session.sessid(), QStringLiteral("member7"));
    EXPECT_TRUE(m_pages.reloads.isEmpty());
}

TEST_F(SyncThreadTest, StatusNotOneKeepsTheWorkerPolling) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"status":0,"error":"busy"})", "application/json");
    });
    pointAt(server);
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 3; }));
    shutDown(c);
    EXPECT_EQ(c.workersStarted(), 1);
    EXPECT_EQ(m_ticker.m_starts, 0);
}

TEST_F(SyncThreadTest, AReplyPastEightMebibytesIsAFailedRequest) {
    // Padding inside a valid reply: whole, it would parse; past the cap it is never held.
    const std::string huge =
        syncReply("sess1", "\"pad\":\"" + std::string(8 * 1024 * 1024, 'p') + "\"");
    TestServer server([&huge](const httplib::Request&, httplib::Response& res) {
        res.set_content(huge, "application/json");
    });
    pointAt(server);
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    bool failed = false;
    QObject::connect(&c, &SyncController::workerEnded, [&](bool e) { failed = failed || e; });
    c.start();
    ASSERT_TRUE(test::waitUntil([&] { return failed; }));
    shutDown(c);
    EXPECT_TRUE(program().sync.snapshot().symbolCodes.isEmpty());
}

TEST_F(SyncThreadTest, ControllerDestroyedWhileAWorkerRunsStopsIt) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(syncReply("sess1", R"("LUDsign":1)"), "application/json");
    });
    pointAt(server);
    {
        SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
        c.setOptions(m_options);
        c.start();
        ASSERT_TRUE(test::waitUntil([&] { return server.count() >= 1; }));
    }
    test::pumpFor(200);
    const size_t count = server.count();
    test::pumpFor(300);
    EXPECT_EQ(server.count(), count);
}

TEST_F(SyncThreadTest, ReadersSeeWholeTablesWhileTheWorkerWrites) {
    // Bids of every symbol move together; a reader holding the lock must always see the
    // same bid for all symbols and one quote line set per symbol.
    std::atomic<int> n{0};
    TestServer server([&n](const httplib::Request&, httplib::Response& res) {
        const std::string bid = std::to_string(1000 + n++);
        std::string rates;
        std::string info;
        for (int s = 0; s < 20; ++s) {
            const std::string code = "S" + std::to_string(s);
            rates += std::string(s ? "," : "") + R"({"S":")" + code + R"(","B":")" + bid + "\"}";
            info += std::string(s ? "," : "") + ("\"" + code + R"(":{"showname":"n"})");
        }
        res.set_content(R"({"status":1,"sessid":"sess1","symbolinfo":{)" + info +
                            R"(},"ratecount":20,"rate":[)" + rates + "]}",
                        "application/json");
    });
    pointAt(server);
    m_options.pollPeriodMs = 1;
    SyncController c(test::programSyncContext(), &m_pages, &m_ticker);
    c.setOptions(m_options);
    c.start();
    std::atomic<bool> torn{false};
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) {
            program().sync.with([&](const SyncTables& t) {
                const QString first = t.quoteTable.value(u"S0_BID");
                for (const QString& code : t.symbolCodes)
                    if (t.quoteTable.value(QString(code + QStringLiteral("_BID"))) != first)
                        torn = true;
            });
        }
    });
    ASSERT_TRUE(test::waitUntil([&] { return n >= 20; }));
    stop = true;
    reader.join();
    shutDown(c);
    EXPECT_FALSE(torn);
}

} // namespace
