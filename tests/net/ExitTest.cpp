// The exit procedure against the net part's workers: it must finish whatever the network does
// and wherever it is started from, and no worker may outlive the program entry.

#include "core/ExitProcedure.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "net/NetModule.h"
#include "net/requestThread.h"
#include "net/SyncController.h"
#include "net/SyncDelegates.h"
#include "threads/WorkerThread.h"

#include "ProgramPieces.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

using namespace kovan;
using kovan::test::TestServer;

namespace {

// A server whose handler blocks until the test releases it (or the test ends).
class HangingServer {
public:
    HangingServer()
        : m_server([this](const httplib::Request&, httplib::Response& res) {
              ++m_requests;
              std::unique_lock lock(m_mutex);
              m_cv.wait(lock, [this] { return m_release; });
              res.set_content(R"({"status":1,"sessid":"s1"})", "application/json");
          }) {}
    ~HangingServer() { release(); }
    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_release = true;
        }
        m_cv.notify_all();
    }
    void pointDataServerHere() {
        program().paths.endpoints.dataServer = HostPort{m_server.host(), quint16(m_server.port())};
    }
    int requests() const { return m_requests.load(); }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_release = false;
    std::atomic<int> m_requests{0};
    TestServer m_server;
};

std::string changedStampReply() {
    return R"({"status":1,"sessid":"s1","symbolinfo":{},"LUDsign":2})";
}

// The section pages of the sync loop; checkRefresh runs `onRefresh` inside the relay step.
class Pages : public ISectionPages {
public:
    void checkRefresh(ContentSectionSet) override {
        ++refreshes;
        if (onRefresh)
            onRefresh();
    }
    void forceReload(const QString&) override {}
    std::function<void()> onRefresh;
    int refreshes = 0;
};

class ExitTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().session.setSessid(QStringLiteral("s1"));
        program().appRunning.set(true);
        m_exit.setQuit([this] { ++m_quits; });
        QObject::connect(&m_exit, &ExitProcedure::done,
                         [this](bool timedOut) { m_timedOut = timedOut; });
    }
    void TearDown() override {
        program().appRunning.set(false);
        WorkerThread::reapAll();
    }

    Lifecycle m_lifecycle;
    ExitProcedure m_exit{m_lifecycle, program().appRunning};
    Pages m_pages;
    int m_quits = 0;
    bool m_timedOut = false;
};

TEST_F(ExitTest, ARequestThatNeverReturnsIsCancelled) {
    HangingServer server;
    server.pointDataServerHere();
    NetModule net;
    net.setNeeds(test::programNetNeeds(&m_pages, nullptr));
    net.addSteps(m_lifecycle);
    m_lifecycle.runStart(StartStep::StartWorkers);
    ASSERT_TRUE(test::waitUntil([&] { return server.requests() == 1; }));

    QElapsedTimer t;
    t.start();
    m_exit.run();
    ASSERT_TRUE(test::waitUntil([&] { return m_exit.finished(); }, 5000));
    EXPECT_FALSE(m_timedOut);
    EXPECT_EQ(m_quits, 1);
    EXPECT_FALSE(net.sync().hasWorker());
    EXPECT_EQ(net.sync().workersStarted(), 1); // no replacement after the exit
    EXPECT_LT(t.elapsed(), ExitProcedure::kDeadlineMs);
}

TEST_F(ExitTest, ExitFromInsideAStepTheSyncWorkerWaitsForFinishes) {
    // The sync worker hands checkRefresh to the GUI thread and waits for it. The step spins
    // an event loop of its own (as a modal window would) and the exit starts in there: the
    // procedure must not wait for the worker that waits for the step.
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(changedStampReply(), "application/json");
    });
    program().paths.endpoints.dataServer = HostPort{server.host(), quint16(server.port())};
    NetModule net;
    net.setNeeds(test::programNetNeeds(&m_pages, nullptr));
    net.addSteps(m_lifecycle);
    bool stepLeft = false;
    m_pages.onRefresh = [&] {
        m_pages.onRefresh = nullptr;
        QEventLoop nested;
        m_exit.setQuit([&] {
            ++m_quits;
            nested.quit(); // QCoreApplication::quit() ends nested loops the same way
        });
        QTimer::singleShot(10, [&] { m_exit.run(); });
        QTimer::singleShot(5000, &nested, &QEventLoop::quit); // a hang ends the test instead
        nested.exec();
        stepLeft = true;
    };
    m_lifecycle.runStart(StartStep::StartWorkers);
    ASSERT_TRUE(test::waitUntil([&] { return stepLeft; }, 8000));
    EXPECT_TRUE(m_exit.finished());
    EXPECT_FALSE(m_timedOut);
    EXPECT_EQ(m_quits, 1);
    EXPECT_FALSE(net.sync().hasWorker());
}

TEST_F(ExitTest, TheSyncLoopWaitsForThePagesOnScreenAndNeverStartsAfterTheExit) {
    HangingServer server;
    server.pointDataServerHere();
    for (const bool exitFirst : {false, true}) {
        SCOPED_TRACE(exitFirst ? "exit before the pages are in" : "pages in");
        Lifecycle lifecycle;
        ExitProcedure exitProcedure(lifecycle, program().appRunning);
        exitProcedure.setQuit([] {});
        std::function<void()> pagesIn;
        NetModule net;
        net.setNeeds(test::programNetNeeds(
            &m_pages, nullptr, [&](std::function<void()> then) { pagesIn = std::move(then); }));
        net.addSteps(lifecycle);
        lifecycle.runStart(StartStep::StartWorkers);
        EXPECT_FALSE(net.sync().hasWorker());
        ASSERT_TRUE(pagesIn);
        if (exitFirst) {
            exitProcedure.run();
            ASSERT_TRUE(test::waitUntil([&] { return exitProcedure.finished(); }, 5000));
        }
        pagesIn();
        EXPECT_EQ(net.sync().hasWorker(), !exitFirst);
        if (!exitFirst) {
            exitProcedure.run();
            ASSERT_TRUE(test::waitUntil([&] { return exitProcedure.finished(); }, 5000));
        }
        EXPECT_EQ(net.sync().workersStarted(), exitFirst ? 0 : 1);
        EXPECT_FALSE(net.sync().hasWorker());
    }
}

TEST_F(ExitTest, AWorkerThatDoesNotEndRunsIntoTheDeadline) {
    bool ended = false;
    m_lifecycle.waitAtExit(QStringLiteral("stuck"), [&ended] { return ended; });
    m_exit.setDeadlineMs(100);
    m_exit.run();
    ASSERT_TRUE(test::waitUntil([&] { return m_exit.finished(); }, 3000));
    EXPECT_TRUE(m_timedOut);
    EXPECT_EQ(m_quits, 1);
}

TEST_F(ExitTest, WorkersLeftAfterTheLoopAreStoppedAndJoined) {
    // An API request to a server that never answers, whose owner is gone: the program entry
    // stops and joins it after the event loop, with no handler run.
    HangingServer server;
    server.pointDataServerHere();
    bool handled = false;
    auto* w = new requestThread(QStringLiteral("logout"), QStringLiteral("logout=1"),
                                program().paths.endpoints.dataServer.root(), program().session);
    w->setTerminationHandler(nullptr, [&handled](requestThread*) { handled = true; });
    w->start();
    ASSERT_TRUE(test::waitUntil([&] { return server.requests() == 1; }));
    EXPECT_EQ(WorkerThread::liveCount(), 1);
    WorkerThread::reapAll(); // returns only once the thread has ended
    EXPECT_EQ(WorkerThread::liveCount(), 0);
    test::pumpFor(50);
    EXPECT_FALSE(handled);
}

} // namespace
