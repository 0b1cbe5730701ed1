// A start's hand-over against the running client's listener, both in this process: the
// listener on the test's event loop, the start (which blocks) on a thread of its own.

#include "instance/HandOver.h"
#include "core/FolderLock.h"
#include "instance/InstanceListener.h"

#include "WaitUntil.h"

#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace kovan;

namespace {

class HandOverTest : public ::testing::Test {
protected:
    HandOverTest()
        : m_socket(m_dir.filePath("kovan-test")), m_lockPath(m_dir.filePath("kovan-test.lock")),
          m_runningLock(m_lockPath),
          m_listener(m_socket, {.raise = [this](const QByteArray& id) { m_raised.append(id); },
                                .quit = [this] { m_runningLock.release(); }}) {}

    // Runs `start` on a thread of its own while this thread serves the listener.
    HandOver::Outcome onItsOwnThread(std::function<HandOver::Outcome(HandOver&)> start) {
        std::future<HandOver::Outcome> outcome = std::async(std::launch::async, [&] {
            HandOver handOver(m_socket, m_startLock, QStringLiteral("/the/folder"));
            return start(handOver);
        });
        EXPECT_TRUE(test::waitUntil([&] {
            return outcome.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        }));
        return outcome.get();
    }

    QTemporaryDir m_dir;
    QString m_socket;
    QString m_lockPath;
    FolderLock m_runningLock;
    FolderLock m_startLock{m_lockPath};
    InstanceListener m_listener;
    QByteArrayList m_raised;
};

} // namespace

TEST_F(HandOverTest, AStartHandsOverToTheListeningClientWithItsStartupId) {
    ASSERT_TRUE(m_runningLock.tryTake());
    ASSERT_TRUE(m_listener.listen());
    const struct {
        HandOverRequest request;
        QByteArrayList raised;
    } cases[] = {
        {{HandOverRequest::Kind::Raise, "id-1_TIME7"}, {"id-1_TIME7"}},
        {{HandOverRequest::Kind::Raise, {}}, {""}},
        {{HandOverRequest::Kind::Hello, {}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.line().toStdString());
        m_raised.clear();
        const HandOver::Outcome outcome =
            onItsOwnThread([&](HandOver& h) { return h.start(c.request); });
        EXPECT_FALSE(outcome.run);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.message.isEmpty());
        EXPECT_TRUE(test::waitUntil([&] { return m_raised.size() == c.raised.size(); }));
        EXPECT_EQ(m_raised, c.raised);
        EXPECT_FALSE(m_startLock.held());
    }
}

TEST_F(HandOverTest, QuitWaitsUntilTheClientHasLetGoOfTheFolder) {
    ASSERT_TRUE(m_runningLock.tryTake());
    ASSERT_TRUE(m_listener.listen());
    const HandOver::Outcome outcome = onItsOwnThread([](HandOver& h) { return h.quit(); });
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.message, "kovan: the running client ended");
    EXPECT_FALSE(m_runningLock.held());
    EXPECT_FALSE(m_startLock.held()); // --quit runs no client
}

TEST_F(HandOverTest, NobodyThereTheStartRunsWithTheLockAndQuitSaysNoneRan) {
    const HandOver::Outcome quit = onItsOwnThread([](HandOver& h) { return h.quit(); });
    EXPECT_EQ(quit.exitCode, 1);
    EXPECT_EQ(quit.message, "kovan: no client runs for /the/folder");
    EXPECT_FALSE(m_startLock.held());

    const HandOver::Outcome start = onItsOwnThread([](HandOver& h) {
        return h.start({HandOverRequest::Kind::Raise, {}});
    });
    EXPECT_TRUE(start.run);
    EXPECT_TRUE(m_startLock.held());
    EXPECT_FALSE(m_runningLock.tryTake());
}

TEST_F(HandOverTest, TheListenerTurnsAwayWhatIsNoRequestAndListensOnlyOnce) {
    ASSERT_TRUE(m_listener.listen());
    EXPECT_TRUE(m_listener.listen());
    InstanceListener second(m_socket, {});
    EXPECT_FALSE(second.listen()); // a live socket is never taken over
    QLocalSocket peer;
    peer.connectToServer(m_socket);
    ASSERT_TRUE(peer.waitForConnected(5000));
    peer.write("raise now please\n");
    peer.flush();
    EXPECT_TRUE(test::waitUntil([&] {
        peer.waitForReadyRead(10);
        return peer.state() == QLocalSocket::UnconnectedState;
    }));
    EXPECT_TRUE(peer.readAll().isEmpty());
    EXPECT_TRUE(m_raised.isEmpty());
    m_listener.stop();
    EXPECT_FALSE(m_listener.listening());
    EXPECT_FALSE(QFile::exists(m_socket));
}
