#include "net/HttpClient.h"
#include "net/ReplyDecoder.h"

#include "TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace kovan;
using kovan::test::TestServer;

namespace {

TEST(HttpClientTest, GetCollectsBodyStatusAndContentType) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("hello", "text/plain; charset=utf-8");
    });
    HttpClient client;
    const HttpReply reply = client.get(server.root() + "/x");
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, QByteArray("hello"));
    EXPECT_EQ(reply.contentType, QByteArray("text/plain; charset=utf-8"));
    EXPECT_EQ(reply.text(), QStringLiteral("hello"));
}

TEST(HttpClientTest, ErrorStatusCountsAsFailure) {
    for (int status : {400, 404, 500, 503}) {
        TestServer server([status](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content("{\"status\":1}", "application/json");
        });
        HttpClient client;
        const HttpReply reply = client.get(server.root() + "/x");
        EXPECT_FALSE(reply.ok) << status;
        EXPECT_EQ(reply.status, status);
    }
}

TEST(HttpClientTest, RefusedConnectionFails) {
    HttpClient client;
    client.setConnectTimeoutMs(2000);
    const HttpReply reply =
        client.get(QStringLiteral("http://127.0.0.1:%1/x").arg(test::refusedPort()));
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.status, 0);
    EXPECT_FALSE(reply.error.isEmpty());
}

TEST(HttpClientTest, ReadTimeoutEndsASilentRequest) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        res.set_content("late", "text/plain");
    });
    HttpClient client;
    client.setReadTimeoutMs(200);
    const HttpReply reply = client.get(server.root() + "/slow");
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.timedOut);
    EXPECT_TRUE(reply.body.isEmpty());
}

TEST(HttpClientTest, AServerThatDribblesIsCutOffAtTheTotalTimeOut) {
    // A byte every 100 ms keeps the read time-out (300 ms) from ever firing; the total time-out
    // (connect + read) ends the request all the same.
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        // Not a text type: the server would compress a text stream and hold the bytes back.
        res.set_chunked_content_provider(
            "application/octet-stream", [](size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return sink.write("x", 1);
            });
    });
    HttpClient client;
    client.setConnectTimeoutMs(300);
    client.setReadTimeoutMs(300);
    EXPECT_EQ(client.totalTimeoutMs(), 600);
    const auto started = std::chrono::steady_clock::now();
    const HttpReply reply = client.get(server.root() + "/dribble");
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.timedOut);
    EXPECT_GE(reply.body.size(), 3) << "the bytes kept arriving";
    EXPECT_GE(took, std::chrono::milliseconds(550));
    EXPECT_LT(took, std::chrono::seconds(5)); // ended by the limit, not by the test's end
    client.setTotalTimeoutMs(0);
    EXPECT_EQ(client.totalTimeoutMs(), 0);
    client.setReadTimeoutMs(0);
    client.setTotalTimeoutMs(-1);
    EXPECT_EQ(client.totalTimeoutMs(), 0); // no read limit: no sum either
}

TEST(HttpClientTest, AReplyPastTheSizeCapFailsAndKeepsNothing) {
    const std::string big(3000, 'b');
    TestServer server([&big](const httplib::Request&, httplib::Response& res) {
        res.set_content(big, "text/plain");
    });
    HttpClient client;
    EXPECT_EQ(client.maxBodyBytes(), 8 * 1024 * 1024);
    client.setMaxBodyBytes(2999);
    HttpReply reply = client.get(server.root() + "/big");
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.tooLarge);
    EXPECT_TRUE(reply.body.isEmpty());
    client.setMaxBodyBytes(3000);
    reply = client.get(server.root() + "/big");
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.body.size(), 3000);
}

TEST(HttpClientTest, AnAnnouncedLengthPastTheCapIsRefusedBeforeTheBodyIsRead) {
    // 50 MB announced, one kilobyte sent, then nothing: the refusal cannot wait for the body.
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(50 * 1024 * 1024, "application/json",
                                 [](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         const std::string first(1024, ' ');
                                         sink.write(first.data(), first.size());
                                         return true;
                                     }
                                     std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                     return sink.is_writable();
                                 });
    });
    HttpClient client;
    client.setReadTimeoutMs(3000);
    const auto started = std::chrono::steady_clock::now();
    const HttpReply reply = client.get(server.root() + "/huge");
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.tooLarge);
    EXPECT_FALSE(reply.timedOut);
    EXPECT_TRUE(reply.body.isEmpty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
}

TEST(HttpClientTest, ReadTimeoutAlsoHoldsOnAKeptConnection) {
    TestServer server([](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/slow")
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        res.set_content("x", "text/plain");
    });
    HttpClient client;
    client.setReadTimeoutMs(200);
    ASSERT_TRUE(client.get(server.root() + "/fast").ok);
    const HttpReply reply = client.get(server.root() + "/slow");
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.timedOut);
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].remotePort, seen[1].remotePort); // the second request reused the first's
}

TEST(HttpClientTest, PostSendsFormBodyAsIs) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("ok", "text/plain");
    });
    HttpClient client;
    const QByteArray body("a=1&b=%20x+y");
    EXPECT_TRUE(client.postForm(server.root() + "/act/s", body).ok);
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].body, "a=1&b=%20x+y");
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
}

TEST(HttpClientTest, CookiesComeBackOnTheSameClientOnly) {
    TestServer server([](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/set")
            res.set_header("Set-Cookie", "sid=abc; Path=/");
        res.set_content("ok", "text/plain");
    });
    {
        HttpClient client;
        ASSERT_TRUE(client.get(server.root() + "/set").ok);
        ASSERT_TRUE(client.get(server.root() + "/next").ok);
    }
    HttpClient fresh;
    ASSERT_TRUE(fresh.get(server.root() + "/other").ok);
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].cookie, "sid=abc");
    EXPECT_EQ(seen[2].cookie, "");
}

TEST(HttpClientTest, KeepsTheConnectionBetweenRequests) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("{}", "application/json");
    });
    HttpClient client;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(client.get(server.root() + "/sync/a").ok);
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].remotePort, seen[1].remotePort);
    EXPECT_EQ(seen[1].remotePort, seen[2].remotePort);
}

TEST(HttpClientTest, DoubleSlashPathIsSentAsWritten) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("x", "application/octet-stream");
    });
    HttpClient client;
    ASSERT_TRUE(client.get(server.root() + "//filelist/sound/alert.wav").ok);
    ASSERT_EQ(server.count(), 1u);
    EXPECT_EQ(server.seen()[0].path, "//filelist/sound/alert.wav");
}

TEST(HttpClientTest, ProgressHookAndSinkSeeTheBytesAndCanCancel) {
    const std::string big(256 * 1024, 'z');
    TestServer server([&big](const httplib::Request&, httplib::Response& res) {
        res.set_content(big, "application/octet-stream");
    });
    {
        HttpClient client;
        qint64 sunk = 0;
        qint64 lastProgress = 0;
        client.setBodySink([&](const char*, qsizetype n) {
            sunk += n;
            return true;
        });
        client.setProgressHook([&](qint64 received, qint64) {
            lastProgress = received;
            return true;
        });
        const HttpReply reply = client.get(server.root() + "/big");
        EXPECT_TRUE(reply.ok);
        EXPECT_TRUE(reply.body.isEmpty());
        EXPECT_EQ(sunk, qint64(big.size()));
        EXPECT_LE(lastProgress, qint64(big.size()));
    }
    {
        HttpClient client;
        client.setBodySink([](const char*, qsizetype) { return false; });
        const HttpReply reply = client.get(server.root() + "/big");
        EXPECT_FALSE(reply.ok);
        EXPECT_TRUE(reply.cancelled);
    }
    {
        HttpClient client;
        client.cancel();
        const HttpReply reply = client.get(server.root() + "/big");
        EXPECT_FALSE(reply.ok);
        EXPECT_TRUE(reply.cancelled);
    }
}

TEST(HttpClientTest, ASinkStreamsABodyPastTheInMemoryCapWithoutATotalTimeOut) {
    // A video download: 9 MiB, more than a reply collected in memory may hold, in paced
    // writes that together take longer than connect + read time-out would allow.
    const size_t size = 9 * 1024 * 1024;
    TestServer server([size](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(
            size, "video/mp4", [](size_t offset, size_t length, httplib::DataSink& sink) {
                if (offset % (3 * 1024 * 1024) == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(150));
                const std::string chunk(std::min<size_t>(length, 65536), char('a' + offset % 26));
                return sink.write(chunk.data(), chunk.size());
            });
    });
    HttpClient client;
    client.setConnectTimeoutMs(200);
    client.setReadTimeoutMs(200);
    client.setTotalTimeoutMs(0);
    qint64 sunk = 0;
    client.setBodySink([&](const char*, qsizetype n) {
        sunk += n;
        return true;
    });
    const HttpReply reply = client.get(server.root() + "/video.mp4");
    EXPECT_TRUE(reply.ok) << reply.error.toStdString();
    EXPECT_FALSE(reply.tooLarge);
    EXPECT_EQ(sunk, qint64(size));
    EXPECT_TRUE(reply.body.isEmpty());
}

TEST(HttpClientTest, CancelFromAnotherThreadEndsAWait) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        res.set_content("late", "text/plain");
    });
    HttpClient client;
    std::thread canceller([&client] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        client.cancel();
    });
    const HttpReply reply = client.get(server.root() + "/slow");
    canceller.join();
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.cancelled);
}

// --- charset decoding ---

struct DecodeCase {
    const char* name;
    QByteArray body;
    QByteArray contentType;
    QString expected;
};

class ReplyDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(ReplyDecodeTest, DecodesByDeclaredCharset) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decodeReplyBody(c.body, c.contentType), c.expected) << c.name;
}

const QString kSilver = QStringLiteral("现货白银");

INSTANTIATE_TEST_SUITE_P(
    Charsets, ReplyDecodeTest,
    ::testing::Values(
        DecodeCase{"utf8", QByteArray("\xE7\x8E\xB0\xE8\xB4\xA7\xE7\x99\xBD\xE9\x93\xB6"),
                   "application/json; charset=utf-8", kSilver},
        DecodeCase{"utf8 upper, quoted", QByteArray("\xE7\x8E\xB0\xE8\xB4\xA7"),
                   "text/html;Charset=\"UTF-8\"", QStringLiteral("现货")},
        DecodeCase{"gbk", QByteArray("\xCF\xD6\xBB\xF5\xB0\xD7\xD2\xF8"),
                   "application/json; charset=GBK", kSilver},
        DecodeCase{"gb2312", QByteArray("\xCF\xD6\xBB\xF5"), "text/plain; charset=gb2312",
                   QStringLiteral("现货")},
        DecodeCase{"gb18030 four-byte",
                   QByteArray("\x81\x30\x81\x30"
                              "a"),
                   "text/plain; charset=gb18030", QStringLiteral("\u0080a")},
        DecodeCase{"gb18030 two-byte", QByteArray("\xCF\xD6\xBB\xF5"),
                   "text/plain; charset=GB18030", QStringLiteral("现货")},
        DecodeCase{"big5", QByteArray("\xB2\x7B\xB3\x66"), "text/plain; charset=big5",
                   QStringLiteral("現貨")},
        DecodeCase{"utf-16le", QByteArray("\xB0\x73\x27\x8D", 4), "text/plain; charset=utf-16le",
                   QStringLiteral("现货")},
        DecodeCase{"utf-16be", QByteArray("\x73\xB0\x8D\x27", 4), "text/plain; charset=UTF-16BE",
                   QStringLiteral("现货")},
        DecodeCase{"utf-16 with BE mark", QByteArray("\xFE\xFF\x73\xB0", 4),
                   "text/plain; charset=utf-16", QStringLiteral("现")},
        DecodeCase{"utf-16 without mark", QByteArray("\xB0\x73", 2), "text/plain; charset=utf-16",
                   QStringLiteral("现")},
        DecodeCase{"latin1", QByteArray("caf\xE9"), "text/plain; charset=ISO-8859-1",
                   QStringLiteral("café")},
        DecodeCase{"no charset", QByteArray("caf\xE9"), "application/json", QStringLiteral("café")},
        DecodeCase{"no header", QByteArray("\xE7\x8E\xB0"), "",
                   QString::fromLatin1("\xE7\x8E\xB0")},
        DecodeCase{"unsupported charset", QByteArray("\xC0\xC1"), "text/plain; charset=koi8-r",
                   QString::fromLatin1("\xC0\xC1")},
        DecodeCase{"broken gbk byte",
                   QByteArray("a\xFF"
                              "b"),
                   "text/plain; charset=gbk", QStringLiteral("a\uFFFDb")}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(ReplyDecodeTest, GbkReplyFromTheWire) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("{\"t\":\"\xCF\xD6\xBB\xF5\"}"),
                        "application/json; charset=gbk");
    });
    HttpClient client;
    const HttpReply reply = client.get(server.root() + "/x");
    ASSERT_TRUE(reply.ok);
    EXPECT_EQ(reply.text(), QStringLiteral("{\"t\":\"现货\"}"));
}

TEST(ReplyDecodeTest, CharsetParameterIsFoundAmongOthers) {
    EXPECT_EQ(charsetOf("text/html; q=1; charset = Big5 ; x=y"), QByteArray("big5"));
    EXPECT_EQ(charsetOf("text/html"), QByteArray());
    EXPECT_EQ(charsetOf(""), QByteArray());
}

} // namespace
