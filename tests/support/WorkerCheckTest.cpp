// The reaping every test program runs after each test: whatever state a test leaves its
// workers in, they end up joined and freed, and one that will not end is named.
#include "WorkerCheck.h"
#include "threads/WorkerThread.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace kovan;

namespace {

// A worker whose run() returns at once, when stopped, or only when released.
class ProbeWorker : public SelfFreeingWorker<ProbeWorker> {
    Q_OBJECT
public:
    enum class Kind { EndsAtOnce, EndsWhenStopped, IgnoresStop };
    ProbeWorker(Kind kind, std::atomic<bool>* release) : m_kind(kind), m_release(release) {}
    ~ProbeWorker() override { joinThread(); }

protected:
    void run() override {
        std::unique_lock lock(stopMutex());
        switch (m_kind) {
        case Kind::EndsAtOnce:
            return;
        case Kind::EndsWhenStopped:
            m_cv.wait(lock, [this] { return stopRequested(); });
            return;
        case Kind::IgnoresStop:
            lock.unlock();
            while (!m_release->load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return;
        }
    }
    void wake() override { m_cv.notify_all(); }

private:
    Kind m_kind;
    std::atomic<bool>* m_release;
    std::condition_variable m_cv;
};

struct ReapCase {
    const char* name;
    ProbeWorker::Kind kind;
    bool handledBefore; // the test turned the event loop until the worker's end was handled
};

class WorkerReapTest : public ::testing::TestWithParam<ReapCase> {};

TEST_P(WorkerReapTest, LeavesNoWorkerBehind) {
    std::atomic<bool> release{false};
    int handled = 0;
    auto* w = new ProbeWorker(GetParam().kind, &release);
    w->setTerminationHandler(nullptr, [&handled](ProbeWorker*) { ++handled; });
    w->start();
    if (GetParam().kind == ProbeWorker::Kind::EndsAtOnce) {
        // Without turning the event loop: its end call stays queued, its thread unjoined.
        while (WorkerThread::liveCount() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (GetParam().handledBefore) {
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::count() == 0; }));
    }

    const test::WorkerReap reap = test::reapWorkers(5000);
    EXPECT_EQ(reap.found, GetParam().handledBefore ? 0 : 1);
    EXPECT_TRUE(reap.stuck.isEmpty());
    EXPECT_EQ(WorkerThread::count(), 0);
    EXPECT_LE(handled, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkerReapTest,
    ::testing::Values(ReapCase{"EndedAndFreed", ProbeWorker::Kind::EndsAtOnce, true},
                      // The end call is still queued when the test ends: the thread has
                      // finished but nobody joined it yet.
                      ReapCase{"EndedNotYetJoined", ProbeWorker::Kind::EndsAtOnce, false},
                      ReapCase{"StillWaiting", ProbeWorker::Kind::EndsWhenStopped, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkerReap, AWorkerThatIgnoresStopIsNamedAndLeftRunning) {
    std::atomic<bool> release{false};
    auto* w = new ProbeWorker(ProbeWorker::Kind::IgnoresStop, &release);
    w->start();
    const test::WorkerReap reap = test::reapWorkers(100);
    EXPECT_EQ(reap.found, 1);
    EXPECT_EQ(reap.stuck, QStringList{QStringLiteral("ProbeWorker")});
    EXPECT_EQ(WorkerThread::liveCount(), 1);

    release = true;
    EXPECT_TRUE(test::reapWorkers(5000).stuck.isEmpty());
    EXPECT_EQ(WorkerThread::count(), 0);
}

} // namespace

#include "WorkerCheckTest.moc"
