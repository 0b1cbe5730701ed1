// Price alerts seen from outside: the real client starts with alerts in alerts.dat and runs
// against a loopback data server whose gold bid moves across one of them; the notice rises
// into the corner (the client traces the alert's log line and the pop-up's steps), and
// alerts.dat holds the triggered state afterwards. A file the client cannot read is kept aside.

#include "ClientRun.h"

#include "core/SharedBlock.h"

#include "Files.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

using namespace kovan;
using kovan::test::TestServer;

namespace {

const char kPage[] = R"HTML(<!DOCTYPE html><html><head><meta charset="utf-8">
<meta name="generator" content="QZEARVersion test"></head><body>page</body></html>)HTML";

// Gold below 2050 for the first three replies, then past it; silver steady.
std::string syncReply(int n) {
    const char* gold = n < 3 ? "2049.50" : "2050.30";
    return std::string(R"({"status":1,"sessid":"alert-s1","symbolinfo":{)"
                       R"("XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":1},)"
                       R"("XAGRMB":{"showname":"现货白银","minpip":1,"piplen":0,"basepip":8}},)"
                       R"("ratecount":2,"rate":[{"S":"XAU","B":")") +
           gold + R"("},{"S":"XAGRMB","B":"5632"}]})";
}

const char kAlerts[] = R"({"format":1,"alerts":[
  {"symbol":"XAU","price":2050,"direction":"rise","note":"止盈"},
  {"symbol":"XAGRMB","price":5700,"direction":"fall"},
  {"symbol":"XAU","price":2100,"direction":"rise","repeat":true}]})";

struct Servers {
    std::atomic<int> replies{0};
    TestServer data{[this](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/sync/", 0) == 0)
            res.set_content(syncReply(replies++), "application/json; charset=utf-8");
        else
            res.status = 404;
    }};
    TestServer pages{[](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/tools/", 0) == 0)
            res.set_content(kPage, "text/html; charset=utf-8");
        else
            res.status = 404; // sounds: the alert stays silent
    }};
    QStringList args() const {
        return {"--data-server", "127.0.0.1:" + QString::number(data.port()), "--page-server",
                "127.0.0.1:" + QString::number(pages.port())};
    }
};

TEST(AlertRun, TheBidCrossesAnAlertAndItsNoticeRisesIntoTheCorner) {
    const QString block = QStringLiteral("KVNALERT-%1").arg(::getpid());
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"alert-s1"})"));
    Servers servers;
    ProgramFolder folder;
    folder.writeFile("alerts.dat", kAlerts);
    ClientRun client(folder, block);
    client.start(servers.args());
    const bool gold =
        client.waitForTrace(QStringLiteral("price alert XAU rises to 2050.00: bid 2050.30"), 60000);
    const bool rested = client.waitForText(QStringLiteral("kovan: rbMsgForm rests at"), 30000);
    const bool ended = client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(gold) << trace.toStdString();
    EXPECT_TRUE(rested) << trace.toStdString();
    EXPECT_TRUE(ended);
    // Silver was past its price before the client started: the first reply triggered it, and
    // before gold's.
    const qsizetype silver = trace.indexOf("kovan: price alert XAGRMB falls to 5700: bid 5632\n");
    EXPECT_GE(silver, 0) << trace.toStdString();
    EXPECT_LT(silver, trace.indexOf("kovan: price alert XAU rises to 2050.00"));
    EXPECT_FALSE(trace.contains("price alert XAU rises to 2100.00"));
    EXPECT_TRUE(trace.contains("kovan: rbMsgForm shown at"));

    const QJsonArray saved =
        QJsonDocument::fromJson(folder.readFile("alerts.dat")).object()["alerts"].toArray();
    ASSERT_EQ(saved.size(), 3) << folder.readFile("alerts.dat").toStdString();
    EXPECT_EQ(saved[0].toObject()["state"].toString(), "triggered");
    EXPECT_FALSE(saved[0].toObject()["triggeredAt"].toString().isEmpty());
    EXPECT_EQ(saved[0].toObject()["note"].toString(), "止盈");
    EXPECT_EQ(saved[1].toObject()["state"].toString(), "triggered");
    EXPECT_EQ(saved[2].toObject()["state"].toString(), "waiting");
    EXPECT_EQ(test::modeOf(folder.file("alerts.dat")), 0600);
    EXPECT_TRUE(folder.clientLog().contains("price alert XAU rises to 2050.00: bid 2050.30"));
}

TEST(AlertRun, AFileTheClientCannotReadIsKeptAsideAndLoggedOnce) {
    const QString block = QStringLiteral("KVNALERTBAD-%1").arg(::getpid());
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"alert-s1"})"));
    Servers servers;
    ProgramFolder folder;
    folder.writeFile("alerts.dat", "{\"format\":1,\"alerts\":[{\"symbol\"");
    ClientRun client(folder, block);
    client.start(servers.args());
    const bool synced = client.waitForTrace(QStringLiteral("tray icon added"), 60000);
    for (int i = 0; i < 300 && servers.replies < 2; ++i)
        QThread::msleep(20);
    const bool ended = client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(synced) << trace.toStdString();
    EXPECT_TRUE(ended);
    EXPECT_EQ(trace.count("kovan: alerts.dat not read ("), 1) << trace.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file("alerts.dat"))); // nothing changed: nothing written
    EXPECT_EQ(folder.readFile("alerts.dat.bad"), "{\"format\":1,\"alerts\":[{\"symbol\"");
    EXPECT_EQ(folder.clientLog().count("alerts.dat not read ("), 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
