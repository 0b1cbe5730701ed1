// A chart seen from outside: the real client against a loopback data server with chart bars
// and a loopback page server whose signal page opens a chart and whose chart panel drives it
// with the panel's commands, reporting their answers back to the page server.

#include "ClientRun.h"

#include "core/SharedBlock.h"

#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kovan;
using kovan::test::TestServer;

namespace {

const char kSignPage[] = R"HTML(<!DOCTYPE html><html><head><meta charset="utf-8">
<meta name="generator" content="QZEARVersion test"></head><body>signals<script>
// The symbol table arrives with the first sync reply: ask until the chart opens.
function open() {
  try { window.external.FCB('viewchartbysign', JSON.stringify({SYM: 'XAGRMB', id: 30121})); }
  catch (e) { setTimeout(open, 200); }
}
open();
</script></body></html>)HTML";

const char kPanelPage[] = R"HTML(<!DOCTYPE html><html><head><meta charset="utf-8"></head>
<body>panel<script>
var CKEY = new URLSearchParams(location.search).get('ckey');
function fcb(name, p) {
  try { return window.external.FCB(name, typeof p === 'string' ? p : JSON.stringify(p)); }
  catch (e) { return 'error: ' + e.message; }
}
// The commands run once the chart holds its first bars (the page server knows when).
function waitForBars() {
  fetch('/ready', {cache: 'no-store'}).then(function (x) { return x.text(); })
    .then(function (t) { if (t === '1') run(); else setTimeout(waitForBars, 100); },
          function () { setTimeout(waitForBars, 100); });
}
function run() {
var r = {ckey: CKEY};
r.same = fcb('changechart', {ckey: CKEY, cf: 'period', period: 'H1'});
r.period = fcb('changechart', {ckey: CKEY, cf: 'period', period: 'M5'});
r.style = fcb('changechart', {ckey: CKEY, cf: 'chartstyle', style: {kwidth: 5}});
r.hand = fcb('changechart', {ckey: CKEY, cf: 'handstyle', style: 1});
r.layer = fcb('addInxLayer', {ckey: CKEY, indextype: 1, attrib: {type: 'MA', MALIST: [{MAPED: 5, linew: 1}]}});
r.remove = fcb('removeindex', {ckey: CKEY, lkey: r.layer});
r.info = fcb('getchartinfo', CKEY);
r.infoJson = fcb('getchartinfo', JSON.stringify({ckey: CKEY}));
r.other = fcb('changechart', {ckey: 'NOSUCHKEY', cf: 'period', period: 'H4'});
r.tooLong = fcb('changechart', {ckey: CKEY, cf: 'period', period: 'ABCDEFGHIJKLMNOP'});
r.shot = fcb('chartshot', {ckey: CKEY});
fetch('/report', {method: 'POST', body: JSON.stringify(r)});
}
waitForBars();
</script></body></html>)HTML";

const char kOtherPage[] = R"HTML(<!DOCTYPE html><html><head><meta charset="utf-8">
<meta name="generator" content="QZEARVersion test"></head><body>page</body></html>)HTML";

std::string bars(std::int64_t from, int n, int step) {
    std::string data;
    for (int i = 0; i < n; ++i) {
        if (!data.empty())
            data += ',';
        const std::string c = std::to_string(5600 + i % 13);
        data += "{\"D\":" + std::to_string(from + std::int64_t(i) * step) + ",\"O\":" + c +
                ",\"H\":" + c + ".5,\"L\":" + c + ",\"C\":" + c + "}";
    }
    return "{\"status\":1,\"count\":" + std::to_string(n) + ",\"data\":[" + data +
           "],\"BID\":5601}";
}

void answerData(const httplib::Request& req, httplib::Response& res) {
    const std::string& p = req.path;
    if (p.rfind("/sync/", 0) == 0) {
        res.set_content(R"({"status":1,"sessid":"run-s1","symbolinfo":{"XAGRMB":{"showname":)"
                        R"("现货白银","minpip":1,"piplen":0,"basepip":8}}})",
                        "application/json; charset=utf-8");
    } else if (p == "/chart/XAGRMB/H1/0/1024") {
        res.set_content(bars(1700000000, 400, 3600), "application/json");
    } else if (p == "/chart/XAGRMB/M5/0/1024") {
        res.set_content(bars(1700000000, 500, 300), "application/json");
    } else if (p.rfind("/chart/", 0) == 0) {
        res.set_content(R"({"status":1,"count":0,"data":[]})", "application/json");
    } else {
        res.status = 404;
    }
}

bool sawPath(const TestServer& server, const std::string& path) {
    for (const auto& r : server.seen())
        if (r.path == path)
            return true;
    return false;
}

// "/ready" answers "1" once the feed has gone on from the initial H1 block (so it was merged).
void answerPages(const TestServer& data, const httplib::Request& req, httplib::Response& res) {
    const std::string& p = req.path;
    if (p == "/ready")
        res.set_content(
            sawPath(data, "/chart/XAGRMB/H1/" + std::to_string(1700000000 + 399 * 3600) + "/0")
                ? "1"
                : "0",
            "text/plain");
    else if (p.rfind("/tools/signlist/", 0) == 0)
        res.set_content(kSignPage, "text/html; charset=utf-8");
    else if (p.rfind("/tools/chartpanel/run-s1/", 0) == 0)
        res.set_content(kPanelPage, "text/html; charset=utf-8");
    else if (p.rfind("/tools/", 0) == 0)
        res.set_content(kOtherPage, "text/html; charset=utf-8");
    else if (p != "/report")
        res.status = 404;
}

std::string reportOf(const TestServer& pages) {
    for (int i = 0; i < 1500; ++i) {
        for (const auto& r : pages.seen())
            if (r.path == "/report" && r.method == "POST")
                return r.body;
        QThread::msleep(20);
    }
    return {};
}

} // namespace

TEST(ChartRun, ThePanelPageDrivesALiveChartOfTheRealClient) {
    const QString block = QStringLiteral("KVNCHART-%1").arg(::getpid());
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"run-s1"})"));
    TestServer data(answerData);
    TestServer pages([&data](const httplib::Request& req, httplib::Response& res) {
        answerPages(data, req, res);
    });
    ProgramFolder folder;
    folder.writeFile("config.dat", "ACCEPTCHARTTOS=1\r\n"); // the terms were accepted before
    ClientRun client(folder, block);
    client.start({"--data-server", "127.0.0.1:" + QString::number(data.port()), "--page-server",
                  "127.0.0.1:" + QString::number(pages.port())});
    const std::string report = reportOf(pages);
    const std::string m5Next = "/chart/XAGRMB/M5/" + std::to_string(1700000000 + 499 * 300) + "/0";
    for (int i = 0; i < 500 && !sawPath(data, m5Next); ++i)
        QThread::msleep(20);
    const bool opened = client.waitForTrace("chart window XAGRMB H1 opened", 1000);
    const bool ended = client.endRun();
    const QString trace = client.traceText();
    ASSERT_FALSE(report.empty()) << trace.toStdString();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(ended);
    EXPECT_EQ(client.exitCode(), 0);

    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(report)).object();
    EXPECT_EQ(r["ckey"].toString().size(), 32);
    EXPECT_EQ(r["same"].toString(), "0");
    EXPECT_EQ(r["period"].toString(), "1");
    EXPECT_EQ(r["style"].toString(), "1");
    EXPECT_EQ(r["hand"].toString(), "1");
    EXPECT_EQ(r["layer"].toString().size(), 8);
    EXPECT_EQ(r["remove"].toString(), "1");
    const QJsonObject info =
        QJsonDocument::fromJson(r["info"].toString().toUtf8()).object()["styleinfo"].toObject();
    EXPECT_EQ(info["kwidth"].toString(), "5");
    EXPECT_EQ(info["back"].toString(), "#000000");
    EXPECT_EQ(r["infoJson"].toString(), "-1");
    EXPECT_EQ(r["other"].toString(), "-1");
    EXPECT_TRUE(r["tooLong"].toString().startsWith("error: ")) << report;
    EXPECT_TRUE(r["tooLong"].toString().contains("longer than 15")) << report;

    // The picture is where the command said, and the history files hold the bars.
    const QString shot = r["shot"].toString();
    EXPECT_TRUE(shot.startsWith(folder.path() + "screenshots/XAGRMB_M5_")) << shot.toStdString();
    EXPECT_EQ(QImage(shot).size(), QSize(532, 500));
    EXPECT_EQ(QFileInfo(folder.file("history/XAGRMB_H1.dat")).size(), 400 * 20);

    // The feed asked for the initial blocks of both periods, then went on from their last bars.
    std::vector<std::string> chartPaths;
    for (const auto& s : data.seen())
        if (s.path.rfind("/chart/", 0) == 0)
            chartPaths.push_back(s.path);
    ASSERT_GE(chartPaths.size(), 2u);
    EXPECT_EQ(chartPaths[0], "/chart/XAGRMB/H1/0/1024");
    EXPECT_NE(std::find(chartPaths.begin(), chartPaths.end(), "/chart/XAGRMB/M5/0/1024"),
              chartPaths.end());
    EXPECT_NE(std::find(chartPaths.begin(), chartPaths.end(), m5Next), chartPaths.end());
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
