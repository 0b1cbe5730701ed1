// Member sign-in and the forced logout seen from outside: the real client binary against
// loopback servers.

#include "ClientRun.h"

#include "core/Scramble.h"
#include "core/SharedBlock.h"

#include "Files.h"
#include "TestServer.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::TestServer;

namespace {

const char kAppPage[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
    "<meta name=\"generator\" content=\"QZEARVersion test\"></head><body>page%1</body></html>";

class MemberRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(publishSessionBlock(m_block, R"({"UID":12,"sessid":"guest-s0"})"));
    }
    void TearDown() override {
        killAll("zrs");
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
    }
    static QStringList servers(const TestServer& data, const TestServer& pages) {
        return {"--data-server", "127.0.0.1:" + QString::number(data.port()), "--page-server",
                "127.0.0.1:" + QString::number(pages.port())};
    }

    QString m_block = QString("KVNMEMBER-%1-%2")
                          .arg(::testing::UnitTest::GetInstance()->current_test_info()->name())
                          .arg(::getpid());
    ProgramFolder m_folder;
};

// The data server of these runs: sync replies that change nothing.
void answerSync(const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"status":0})", "application/json");
}

bool waitForPath(const TestServer& server, const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        for (const auto& r : server.seen())
            if (r.path == path)
                return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

TEST_F(MemberRun, RememberedLoginSignsInAtStartWithTheExactBody) {
    const QString authInfo = scrambleStr(QStringLiteral("demo###demo123"));
    const QByteArray config = "AUTHINFO=" + authInfo.toLatin1() + "\r\n";
    m_folder.writeFile("config.dat", config);
    const std::string body = "user=demo&passwd=14090C065F5E5C&ckey=" + getClientKey().toStdString();
    TestServer data([&body](const httplib::Request& req, httplib::Response& res) {
        if (req.method != "POST")
            return answerSync(req, res);
        // Only the expected request signs in: the body is checked here, byte for byte.
        res.set_content(req.path == "/clientlogin/guest-s0" && req.body == body
                            ? R"({"status":1,"UID":"20001","sessid":"member-s1"})"
                            : R"({"status":0,"error":"bad request","errno":"1"})",
                        "application/json");
    });
    TestServer pages([](const httplib::Request&, httplib::Response& res) {
        res.set_content(QString::fromLatin1(kAppPage).arg(1).toStdString(), "text/html");
    });

    ClientRun client(m_folder, m_block);
    client.start(servers(data, pages));
    ASSERT_TRUE(client.waitForTrace("member signed in")) << client.traceText().toStdString();
    // The next polls carry the member session.
    EXPECT_TRUE(waitForPath(data, "/sync/member-s1"));
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);

    int logins = 0;
    for (const auto& r : data.seen()) {
        if (r.method == "POST") {
            ++logins;
            EXPECT_EQ(r.path, "/clientlogin/guest-s0");
            EXPECT_EQ(r.body, body);
            EXPECT_EQ(r.contentType, "application/x-www-form-urlencoded");
        }
    }
    EXPECT_EQ(logins, 1);
    // The settings as start-up normalised them, and the new session key.
    EXPECT_EQ(QString::fromLatin1(m_folder.readFile("config.dat")),
              QString::fromLatin1(config + "localalert=0\r\nAUTHKEY=member-s1\r\n"));
    // Written by the test as the umask has it (0644), the file is the user's alone once the
    // client saved it.
    EXPECT_EQ(test::modeOf(m_folder.file("config.dat")), 0600);
    // The password never reaches the trace, plain or scrambled.
    EXPECT_FALSE(client.traceText().contains("demo123"));
    EXPECT_FALSE(client.traceText().contains("14090C065F5E5C"));
}

TEST_F(MemberRun, ForcelogoutFromAPageEndsTheClientAndEmptiesKeyDat) {
    m_folder.writeFile("key.dat", "companion key material");
    ASSERT_EQ(::chmod(QFile::encodeName(m_folder.file("key.dat")).constData(), 0644), 0);
    TestServer data(answerSync);
    TestServer pages([](const httplib::Request& req, httplib::Response& res) {
        QString html = QString::fromLatin1(kAppPage).arg(QString::fromStdString(req.path));
        if (req.path.rfind("/tools/signlist/", 0) == 0)
            html.replace("</body>",
                         "<script>window.addEventListener('load', function () {"
                         " window.external.FCB('forcelogout', 'x'); });</script></body>");
        res.set_content(html.toStdString(), "text/html");
    });

    ClientRun client(m_folder, m_block);
    client.start(servers(data, pages));
    ASSERT_TRUE(client.waitForExit(60000)) << client.traceText().toStdString();
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_TRUE(client.traceText().contains("kovan: forced logout"));
    EXPECT_TRUE(client.traceText().contains("kovan: exit procedure"));
    EXPECT_TRUE(QFile::exists(m_folder.file("key.dat")));
    EXPECT_EQ(m_folder.readFile("key.dat"), QByteArray());
    EXPECT_EQ(test::modeOf(m_folder.file("key.dat")), 0600); // tightened as it was emptied
}
