#include "net/requestThread.h"
#include "core/ProgramState.h"
#include "net/FormBody.h"

#include "TestServer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace kovan;
using kovan::test::TestServer;

namespace {

const QString kFallback =
    QStringLiteral(R"({"status":0,"error":"系统错误，请重试！","errno":"10000000"})");

// --- body encoding: the bytes the server receives ---

struct BodyCase {
    const char* name;
    QString reqstr;
    std::string body;
};

class FormBodyTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(FormBodyTest, EncodesValuesForTheWire) {
    const BodyCase& c = GetParam();
    EXPECT_EQ(encodeFormBody(c.reqstr).toStdString(), c.body) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, FormBodyTest,
    ::testing::Values(BodyCase{"login_three_lines_space",
                               QStringLiteral("user=john doe\r\npasswd=0A1B\r\nckey=42"),
                               "user=john%20doe&passwd=0A1B&ckey=42"},
                      BodyCase{"logout_one_line", QStringLiteral("logout=1"), "logout=1"},
                      BodyCase{"specials", QStringLiteral("v=*#%<>[]"), "v=%2A%23%25%3C%3E%5B%5D"},
                      BodyCase{"kept_as_is", QStringLiteral("v=a&b=c+d=e!~'()"),
                               "v=a&b=c+d=e!~'()"},
                      BodyCase{"chinese_value", QStringLiteral("user=金"), "user=%E9%87%91"},
                      BodyCase{"surrogate_pair", QStringLiteral("v=😀"), "v=%F0%9F%98%80"},
                      BodyCase{"control_chars", QStringLiteral("v=a\tb"), "v=a%09b"},
                      BodyCase{"del_is_kept", QStringLiteral("v=\x7F"), "v=\x7F"},
                      BodyCase{"latin1_above_128", QStringLiteral("v=é"), "v=%C3%A9"},
                      BodyCase{"name_part_unchanged", QStringLiteral("a b=c d"), "a b=c%20d"},
                      BodyCase{"second_equals_in_value", QStringLiteral("k=a=b c"), "k=a=b%20c"},
                      BodyCase{"line_without_equals", QStringLiteral("hello world"), "hello world"},
                      BodyCase{"non_ascii_without_equals", QStringLiteral("héllo 金"), "h?llo ?"},
                      BodyCase{"one_line_trimmed", QStringLiteral("  a=1  "), "a=1%20%20"},
                      BodyCase{"one_line_no_equals_trimmed", QStringLiteral("  plain  "), "plain"},
                      BodyCase{"trailing_break", QStringLiteral("a=1\r\nb=2\r\n"), "a=1&b=2"},
                      BodyCase{"lf_only", QStringLiteral("a=1\nb=2\nc=3"), "a=1&b=2&c=3"},
                      BodyCase{"cr_only", QStringLiteral("a=1\rb=2"), "a=1&b=2"},
                      BodyCase{"empty_middle_line", QStringLiteral("a=1\r\n\r\nb=2"), "a=1&&b=2"},
                      BodyCase{"outer_lines_trimmed", QStringLiteral(" x \r\n y "), "x & y"},
                      BodyCase{"empty_value", QStringLiteral("a=\r\nb="), "a=&b="},
                      BodyCase{"empty", QString(), ""}),
    [](const ::testing::TestParamInfo<BodyCase>& info) { return std::string(info.param.name); });

// --- the worker against a scripted server ---

class RequestThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().session.setSessid(QStringLiteral("S1"));
    }
    void pointAt(const TestServer& server) {
        program().paths.endpoints.dataServer = HostPort{server.host(), quint16(server.port())};
    }

    struct Outcome {
        QString recvStr;
        bool handlerRan = false;
        bool onGuiThread = false;
        QString url;
    };
    // Starts a worker the way callers do and waits (handling events) for its handler.
    Outcome call(const QString& act, const QString& params, int timeoutMs = 5000,
                 const std::function<void()>& beforeStart = {}) {
        Outcome out;
        auto* w = new requestThread(act, params, program().paths.endpoints.dataServer.root(),
                                    program().session);
        w->setTimeoutsMs(timeoutMs, timeoutMs);
        QPointer<requestThread> alive(w);
        w->setTerminationHandler(nullptr, [&out](requestThread* sender) {
            out.handlerRan = true;
            out.recvStr = sender->recvStr();
            out.url = sender->requestUrl();
            out.onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        });
        if (beforeStart)
            beforeStart();
        w->start();
        EXPECT_TRUE(test::waitUntil([&] { return out.handlerRan && alive.isNull(); }))
            << "handler did not run or the worker was not freed";
        return out;
    }
};

TEST_F(RequestThreadTest, PostsTheEncodedBodyAndHandsTheReplyToTheGuiThread) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"status":1,"UID":"u1","sessid":"S2"})",
                        "application/json; charset=utf-8");
    });
    pointAt(server);
    const Outcome out =
        call(QStringLiteral("clientlogin"), QStringLiteral("user=张 三\r\npasswd=AB\r\nckey=7"));
    EXPECT_TRUE(out.onGuiThread);
    EXPECT_EQ(out.recvStr, QStringLiteral(R"({"status":1,"UID":"u1","sessid":"S2"})"));
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].path, "/clientlogin/S1");
    EXPECT_EQ(seen[0].body, "user=%E5%BC%A0%20%E4%B8%89&passwd=AB&ckey=7");
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
}

TEST_F(RequestThreadTest, AmpersandInAValueSplitsIntoAnExtraField) {
    std::string extra;
    TestServer server([&extra](const httplib::Request& req, httplib::Response& res) {
        extra = req.get_param_value("y");
        res.set_content("{\"status\":1}", "application/json");
    });
    pointAt(server);
    call(QStringLiteral("act"), QStringLiteral("x=1&y=2"));
    EXPECT_EQ(extra, "2");
}

TEST_F(RequestThreadTest, UrlCarriesTheSessionCurrentWhenTheWorkerRuns) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"status\":1}", "application/json");
    });
    pointAt(server);
    const Outcome out = call(QStringLiteral("logout"), QStringLiteral("logout=1"), 5000,
                             [] { program().session.setSessid(QStringLiteral("NEW'id/../x?y")); });
    ASSERT_EQ(server.count(), 1u);
    // One path segment, whatever the id holds: no step up, no query.
    EXPECT_EQ(server.seen()[0].path, "/logout/NEW'id/../x?y");
    EXPECT_EQ(out.url, server.root() + QStringLiteral("/logout/NEW%27id%2F..%2Fx%3Fy"));
}

TEST_F(RequestThreadTest, NoCookieCarriesOverBetweenWorkers) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "k=v; Path=/");
        res.set_content("{\"status\":1}", "application/json");
    });
    pointAt(server);
    call(QStringLiteral("a"), QStringLiteral("x=1"));
    call(QStringLiteral("a"), QStringLiteral("x=2"));
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].cookie, "");
}

TEST_F(RequestThreadTest, GbkReplyIsDecoded) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("{\"error\":\"\xCF\xD6\xBB\xF5\"}"),
                        "application/json; charset=GBK");
    });
    pointAt(server);
    EXPECT_EQ(call(QStringLiteral("a"), QStringLiteral("x=1")).recvStr,
              QStringLiteral("{\"error\":\"现货\"}"));
}

enum class Failure { Refused, Timeout, Http500, Empty200, Http404WithBody };

class RequestFallbackTest : public RequestThreadTest,
                            public ::testing::WithParamInterface<Failure> {};

TEST_P(RequestFallbackTest, HandlerGetsExactlyTheFallbackReply) {
    const Failure f = GetParam();
    std::unique_ptr<TestServer> server;
    if (f == Failure::Refused) {
        program().paths.endpoints.dataServer =
            HostPort{QStringLiteral("127.0.0.1"), quint16(test::refusedPort())};
    } else {
        server = std::make_unique<TestServer>([f](const httplib::Request&, httplib::Response& res) {
            switch (f) {
            case Failure::Timeout:
                std::this_thread::sleep_for(std::chrono::milliseconds(1200));
                res.set_content("{\"status\":1}", "application/json");
                break;
            case Failure::Http500:
                res.status = 500;
                res.set_content("{\"status\":1}", "application/json");
                break;
            case Failure::Http404WithBody:
                res.status = 404;
                res.set_content("not here", "text/plain");
                break;
            default:
                res.set_content("", "application/json");
                break;
            }
        });
        pointAt(*server);
    }
    const Outcome out = call(QStringLiteral("clientlogin"), QStringLiteral("user=a"), 300);
    EXPECT_TRUE(out.handlerRan);
    EXPECT_TRUE(out.onGuiThread);
    EXPECT_EQ(out.recvStr, kFallback);
}

INSTANTIATE_TEST_SUITE_P(Failures, RequestFallbackTest,
                         ::testing::Values(Failure::Refused, Failure::Timeout, Failure::Http500,
                                           Failure::Empty200, Failure::Http404WithBody));

TEST_F(RequestThreadTest, DefaultsAreSixtySecondsAndTheFixedFallback) {
    EXPECT_EQ(requestThread::kDefaultTimeoutMs, 60000);
    EXPECT_EQ(requestThread::kFallbackReply, kFallback);
}

TEST_F(RequestThreadTest, SeveralWorkersFinishInAnyOrder) {
    // The first worker's reply is held until the second worker's handler has run: handlers
    // follow the replies, not the order the workers started.
    std::mutex mutex;
    std::condition_variable fastHandled;
    bool fastDone = false;
    TestServer server([&](const httplib::Request& req, httplib::Response& res) {
        if (req.path.find("/slow/") == 0) {
            std::unique_lock lock(mutex);
            fastHandled.wait_for(lock, std::chrono::seconds(20), [&] { return fastDone; });
        }
        res.set_content("{\"status\":1,\"p\":\"" + req.path + "\"}", "application/json");
    });
    pointAt(server);
    QStringList order;
    for (const char* act : {"slow", "fast"}) {
        auto* w = new requestThread(QString::fromLatin1(act), QStringLiteral("a=1"),
                                    program().paths.endpoints.dataServer.root(), program().session);
        w->setTerminationHandler(nullptr, [&](requestThread* s) {
            order << s->reqact();
            if (s->reqact() == u"fast") {
                std::lock_guard lock(mutex);
                fastDone = true;
                fastHandled.notify_all();
            }
        });
        w->start();
    }
    ASSERT_TRUE(test::waitUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("fast"), QStringLiteral("slow")}));
}

TEST_F(RequestThreadTest, HandlerIsSkippedWhenItsGuardIsGoneButTheWorkerIsFreed) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        res.set_content("{\"status\":1}", "application/json");
    });
    pointAt(server);
    auto* guard = new QObject;
    bool ran = false;
    auto* w = new requestThread(QStringLiteral("a"), QStringLiteral("x=1"),
                                program().paths.endpoints.dataServer.root(), program().session);
    QPointer<requestThread> alive(w);
    w->setTerminationHandler(guard, [&ran](requestThread*) { ran = true; });
    w->start();
    delete guard;
    ASSERT_TRUE(test::waitUntil([&] { return alive.isNull(); }));
    EXPECT_FALSE(ran);
}

} // namespace
