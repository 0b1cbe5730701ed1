// The order of start-up and exit steps, and the exit procedure's wait.

#include "core/Lifecycle.h"
#include "core/ExitProcedure.h"
#include "core/ProgramState.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <stdexcept>

namespace kovan {
namespace {

using test::waitUntil;

TEST(Lifecycle, StepsRunAtTheirPlaceInTheOrderTheyWereAdded) {
    Lifecycle l;
    QStringList log;
    l.onStart(StartStep::SignIn, [&] { log << "sign-in"; });
    l.onStart(StartStep::LoadSkin, [&] { log << "skin a"; });
    l.onStart(StartStep::LoadSkin, [&] { log << "skin b"; });
    l.onStart(StartStep::StartWorkers, {}); // an empty step is not kept
    l.runStart(StartStep::LoadSkin);
    l.runStart(StartStep::StartWorkers);
    l.runStart(StartStep::SignIn);
    EXPECT_EQ(log, (QStringList{"skin a", "skin b", "sign-in"}));
}

TEST(Lifecycle, AFailingStartStepStopsItsPlaceButAFailingExitStepDoesNot) {
    Lifecycle l;
    QStringList log;
    l.onStart(StartStep::LoadImages, [] { throw std::runtime_error("no pictures"); });
    l.onStart(StartStep::LoadImages, [&] { log << "start after"; });
    l.onExit(ExitStep::HideWindows, [] { throw std::runtime_error("gone"); });
    l.onExit(ExitStep::HideWindows, [&] { log << "exit after"; });
    EXPECT_THROW(l.runStart(StartStep::LoadImages), std::runtime_error);
    EXPECT_NO_THROW(l.runExit(ExitStep::HideWindows));
    EXPECT_EQ(log, QStringList{"exit after"});
}

class ExitProcedureTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().appRunning.set(true);
        m_exit.setQuit([this] { ++m_quits; });
        QObject::connect(&m_exit, &ExitProcedure::done, [this](bool t) { m_timedOut = t; });
    }
    void TearDown() override { program().reset(); }

    Lifecycle m_lifecycle;
    ExitProcedure m_exit{m_lifecycle, program().appRunning};
    int m_quits = 0;
    bool m_timedOut = false;
};

TEST_F(ExitProcedureTest, StepsRunInOrderWithAppRunningClearedBeforeWorkersStop) {
    QStringList log;
    const auto step = [&log](const char* name) {
        return [&log, name] {
            log << QString::fromLatin1(name) + (program().appRunning.isSet() ? "+" : "-");
        };
    };
    // Added out of order on purpose: the places decide.
    m_lifecycle.onExit(ExitStep::HideWindows, step("hide"));
    m_lifecycle.onExit(ExitStep::StopWorkers, step("stop"));
    m_lifecycle.onExit(ExitStep::RemoveTrayIcon, step("tray"));
    m_exit.run();
    EXPECT_EQ(log, (QStringList{"tray+", "stop-", "hide-"}));
    // Nothing to wait for: the end comes from the event loop, not from inside run().
    EXPECT_EQ(m_quits, 0);
    ASSERT_TRUE(waitUntil([&] { return m_exit.finished(); }));
    EXPECT_EQ(m_quits, 1);
    EXPECT_FALSE(m_timedOut);
}

TEST_F(ExitProcedureTest, WaitsForWorkersThenEndsOnce) {
    bool ended = false;
    int stops = 0;
    m_lifecycle.onExit(ExitStep::StopWorkers, [&stops] { ++stops; });
    m_lifecycle.waitAtExit(QStringLiteral("worker"), [&ended] { return ended; });
    m_exit.run();
    m_exit.run(); // a second request (tray exit, then SIGTERM) changes nothing
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 50)
        QCoreApplication::processEvents();
    EXPECT_FALSE(m_exit.finished());
    ended = true;
    ASSERT_TRUE(waitUntil([&] { return m_exit.finished(); }));
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(m_quits, 1);
    EXPECT_FALSE(m_timedOut);
    EXPECT_EQ(m_lifecycle.pendingWaits(), QStringList());
}

TEST_F(ExitProcedureTest, AWorkerThatNeverEndsIsLeftAtTheDeadline) {
    m_lifecycle.waitAtExit(QStringLiteral("stuck worker"), [] { return false; });
    m_exit.setDeadlineMs(60);
    m_exit.run();
    ASSERT_TRUE(waitUntil([&] { return m_exit.finished(); }));
    EXPECT_TRUE(m_timedOut);
    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(m_lifecycle.pendingWaits(), QStringList{"stuck worker"});
}

} // namespace
} // namespace kovan
