// What a hostile or broken service must not do to the real client: keep it from ending, or run
// script in its pages through the session id.

#include "ClientRun.h"

#include "core/SharedBlock.h"

#include "TestServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

using namespace kovan;
using kovan::test::TestServer;

namespace {

class HardeningRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(publishSessionBlock(m_block, R"({"UID":12,"sessid":"S1"})"));
    }
    void TearDown() override {
        killAll("zrs");
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
    }
    static QStringList servers(int data, int pages) {
        return {"--data-server", "127.0.0.1:" + QString::number(data), "--page-server",
                "127.0.0.1:" + QString::number(pages)};
    }

    QString m_block = QString("KVNHARD-%1-%2")
                          .arg(::testing::UnitTest::GetInstance()->current_test_info()->name())
                          .arg(::getpid());
    ProgramFolder m_folder;
};

bool sawPath(const TestServer& server, const std::string& prefix) {
    for (const auto& r : server.seen())
        if (r.path.rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace

TEST_F(HardeningRun, SigtermEndsTheClientWhileASyncRequestHangs) {
    // The data server takes the request and never answers (until the test ends): the exit must
    // not wait for the request's time-outs.
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    std::atomic<int> requests{0};
    TestServer data([&](const httplib::Request&, httplib::Response& res) {
        ++requests;
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        res.set_content("{}", "application/json");
    });
    ClientRun client(m_folder, m_block);
    client.start(servers(data.port(), 9));
    ASSERT_TRUE(client.waitForTrace("start-up done")) << client.traceText().toStdString();
    for (int i = 0; i < 500 && requests == 0; ++i)
        QThread::msleep(20);
    ASSERT_GE(requests, 1);
    QElapsedTimer t;
    t.start();
    client.terminate();
    // Well under the minute of the request's own time-outs: the exit cancels the request.
    ASSERT_TRUE(client.waitForExit(10000));
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(client.exitCode(), 0);
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
}

TEST_F(HardeningRun, ASessionIdFromTheServerNeverRunsAsScriptInThePages) {
    // The server hands out an id built to break out of reloadCheck('…'). The pages record
    // what reloadCheck received and whether the injected call ran, as requests to their
    // server.
    const std::string hostile = R"(x\');anything();//)";
    std::atomic<int> polls{0};
    TestServer data([&](const httplib::Request&, httplib::Response& res) {
        const int n = ++polls;
        const std::string sessid = n < 3 ? "S1" : hostile;
        std::string escaped;
        for (const char c : sessid) {
            if (c == '\\' || c == '"')
                escaped += '\\';
            escaped += c;
        }
        // The signal stamp moves on every reply, so the pages run reloadCheck(<sessid>).
        res.set_content(R"({"status":1,"sessid":")" + escaped + R"(","symbolinfo":{},"LUDsign":)" +
                            std::to_string(100 + n) + "}",
                        "application/json");
    });
    std::mutex m;
    std::vector<std::string> received; // what reloadCheck was given
    TestServer pages([&](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/rc") {
            std::lock_guard lock(m);
            received.push_back(req.get_param_value("x"));
        }
        res.set_content(R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
            <!-- QZEARVersion 2.1 --><script>
            function note(p) { new Image().src = p; }
            function anything() { note('/pwned'); }
            function reloadCheck(x) { note('/rc?x=' + encodeURIComponent(String(x))); }
            </script></body></html>)",
                        "text/html");
    });
    ClientRun client(m_folder, m_block);
    client.start(servers(data.port(), pages.port()));
    // reloadCheck gets the whole id as one string, and nothing else runs.
    const std::string unescaped = R"(x\');anything();//)";
    bool whole = false;
    for (int i = 0; i < 1000 && !whole; ++i) {
        std::lock_guard lock(m);
        for (const std::string& x : received)
            whole = whole || x == unescaped;
        if (!whole)
            QThread::msleep(20);
    }
    EXPECT_TRUE(whole) << client.traceText().toStdString();
    EXPECT_FALSE(sawPath(pages, "/pwned"));
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
