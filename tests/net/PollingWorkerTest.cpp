// The base of the polling workers (its stop-aware sleep) and the supervisor that keeps one
// running, with a probe worker that makes no request. The sync loop and the chart feed tests
// cover the rest against their servers.

#include "net/PollingWorker.h"
#include "threads/WorkerSupervisor.h"

#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

using namespace kovan;

namespace {

// Far longer than any wait of these tests: a worker that ends did not sleep it out.
constexpr int kLongMs = 600000;

// Counts its cycles; the cycle `endAfter` (0: none) ends the loop.
class ProbePoller : public SelfFreeingWorker<ProbePoller, PollingWorker> {
    Q_OBJECT
public:
    ProbePoller(int startDelayMs, int pauseMs, int endAfter)
        : SelfFreeingWorker(startDelayMs, PollingTimeouts{}), m_pauseMs(pauseMs),
          m_endAfter(endAfter) {}
    ~ProbePoller() override {
        requestStop();
        joinThread();
    }
    int cycles() const { return m_cycles.load(); }
    // Any thread: ends a sleep through sleepCutShort(), without a stop request.
    void cutSleepShort() {
        {
            std::lock_guard lock(stopMutex());
            m_cutShort = true;
        }
        wake();
    }

protected:
    bool keepPolling() const override { return true; }
    std::optional<int> runCycle(HttpClient&) override {
        const int n = ++m_cycles;
        if (m_endAfter > 0 && n >= m_endAfter)
            return std::nullopt;
        return m_pauseMs;
    }
    bool sleepCutShort() const override { return m_cutShort; }

private:
    const int m_pauseMs;
    const int m_endAfter;
    std::atomic<int> m_cycles{0};
    bool m_cutShort = false; // guarded by stopMutex()
};

struct SleepCase {
    const char* name;
    int startDelayMs;
    int cyclesBefore; // cycles run before the sleep that is ended
    bool byStop;      // a stop request, or the worker's own sleepCutShort()
};

void PrintTo(const SleepCase& c, std::ostream* os) {
    *os << c.name;
}

class PollingWorkerSleepTest : public ::testing::TestWithParam<SleepCase> {};

TEST_P(PollingWorkerSleepTest, EndsTheWorkerWithoutAFurtherCycle) {
    const SleepCase& c = GetParam();
    bool ended = false;
    int cycles = -1;
    auto* w = new ProbePoller(c.startDelayMs, kLongMs, 0);
    w->setTerminationHandler(nullptr, [&](ProbePoller* sender) {
        ended = true;
        cycles = sender->cycles();
    });
    w->start();
    ASSERT_TRUE(test::waitUntil([&] { return w->cycles() >= c.cyclesBefore; }));
    if (c.byStop)
        w->requestStop();
    else
        w->cutSleepShort();
    // `w` is freed once its end has been handled.
    ASSERT_TRUE(test::waitUntil([&] { return ended; }));
    EXPECT_EQ(cycles, c.cyclesBefore);
}

INSTANTIATE_TEST_SUITE_P(Table, PollingWorkerSleepTest,
                         ::testing::Values(SleepCase{"StartDelayStopped", kLongMs, 0, true},
                                           SleepCase{"PauseStopped", 0, 1, true},
                                           SleepCase{"PauseCutShort", 0, 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// An owner of a supervisor, as SyncController and ChartFeedRunner are.
class ProbeOwner : public QObject {
public:
    // The first worker ends after one cycle, or (`waitsForStop`) only when stopped.
    ProbeOwner(bool ownerRuns, bool waitsForStop)
        : m_ownerRuns(ownerRuns), m_waitsForStop(waitsForStop), m_supervisor(this, rules()) {}
    ~ProbeOwner() override { m_supervisor.stop(); }

    WorkerSupervisor<ProbePoller>& supervisor() { return m_supervisor; }
    std::vector<int> delays; // start delay of every worker made
    int ends = 0;
    int stops = 0;

private:
    WorkerSupervisor<ProbePoller>::Rules rules() {
        return {
            .make =
                [this](int startDelayMs) {
                    delays.push_back(startDelayMs);
                    return m_waitsForStop ? new ProbePoller(startDelayMs, kLongMs, 0)
                                          : new ProbePoller(startDelayMs, 0, 1);
                },
            .ended =
                [this](ProbePoller* sender) {
                    ++ends;
                    m_supervisor.handleEnd(sender);
                },
            .stop =
                [this](ProbePoller* worker) {
                    ++stops;
                    worker->requestStop();
                },
            .mayReplace = [this] { return m_ownerRuns; },
            .replacementDelayMs = [](const ProbePoller&) { return kLongMs; },
        };
    }

    const bool m_ownerRuns;
    const bool m_waitsForStop;
    WorkerSupervisor<ProbePoller> m_supervisor;
};

struct EndCase {
    const char* name;
    bool ownerRuns;
    bool stopFirst; // stop() while the first worker runs
    std::vector<int> delays;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

class WorkerSupervisorEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(WorkerSupervisorEndTest, ReplacesOnlyWhileTheOwnerRunsAndNotAfterStop) {
    const EndCase& c = GetParam();
    ProbeOwner owner(c.ownerRuns, c.stopFirst);
    owner.supervisor().start();
    if (c.stopFirst) {
        owner.supervisor().stop();
        EXPECT_EQ(owner.stops, 1);
    }
    ASSERT_TRUE(test::waitUntil([&] { return owner.ends >= 1; }));
    // A replacement is started as the end is handled, with the delay the owner gave.
    EXPECT_EQ(owner.delays, c.delays);
    EXPECT_EQ(owner.supervisor().started(), int(c.delays.size()));
    EXPECT_EQ(owner.supervisor().current() != nullptr, c.delays.size() > 1);
}

INSTANTIATE_TEST_SUITE_P(Table, WorkerSupervisorEndTest,
                         ::testing::Values(EndCase{"OwnerRuns", true, false, {0, kLongMs}},
                                           EndCase{"OwnerEnded", false, false, {0}},
                                           EndCase{"Stopped", true, true, {0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorkerSupervisor, StopIsFinalAndShutsTheRelayDown) {
    ProbeOwner owner(true, true);
    owner.supervisor().start();
    owner.supervisor().stop();
    ASSERT_TRUE(test::waitUntil([&] { return owner.supervisor().current() == nullptr; }));
    owner.supervisor().start();
    EXPECT_EQ(owner.supervisor().started(), 1);
    bool ran = true;
    std::thread worker([&] { ran = owner.supervisor().relay()->runBlocking([] {}); });
    worker.join();
    EXPECT_FALSE(ran);
}

} // namespace

#include "PollingWorkerTest.moc"
