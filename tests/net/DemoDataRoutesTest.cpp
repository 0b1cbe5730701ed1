// The client side of this module against the demo service's data routes, and the private
// folder the demo service keeps its videos in.
#include "DemoService.h"

#include "audio/AlertAudio.h"
#include "audio/SoundAlerts.h"
#include "core/JsonParams.h"
#include "core/ProgramState.h"
#include "core/Scramble.h"
#include "net/HttpClient.h"
#include "net/requestThread.h"
#include "net/SyncController.h"

#include "Files.h"
#include "ProgramPieces.h"
#include "TestServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <thread>

#include <unistd.h>

using namespace kovan;

namespace {

class DemoDataRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::registerDataRoutes(m_server, m_config);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
        program().reset();
        program().paths.endpoints.dataServer =
            HostPort{QStringLiteral("127.0.0.1"), quint16(m_port)};
        program().paths.endpoints.pageServer = program().paths.endpoints.dataServer;
        program().session.setSessid(QString::fromStdString(m_config.sessid));
    }
    void TearDown() override {
        program().appRunning.set(false);
        m_server.stop();
        m_thread.join();
    }
    QString login(const QString& user, const QString& password) {
        QString reply;
        auto* w = new requestThread(QStringLiteral("clientlogin"),
                                    QStringLiteral("user=") + user + QStringLiteral("\r\npasswd=") +
                                        scrambleStr(password) + QStringLiteral("\r\nckey=1"),
                                    program().paths.endpoints.dataServer.root(), program().session);
        w->setTerminationHandler(nullptr, [&reply](requestThread* s) { reply = s->recvStr(); });
        w->start();
        EXPECT_TRUE(test::waitUntil([&] { return !reply.isEmpty(); }));
        return reply;
    }

    // The sync reply to a poll with `sessid`, and the session it names.
    QJsonObject sync(const QString& sessid) {
        HttpClient client;
        const HttpReply r =
            client.get(QStringLiteral("http://127.0.0.1:%1/sync/").arg(m_port) + sessid);
        EXPECT_TRUE(r.ok);
        return parseJsonObject(r.text());
    }
    QString syncSession(const QString& sessid) { return jsonText(sync(sessid), u"sessid"); }

    demo::DemoConfig m_config;
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

class NoPages : public ISectionPages {
public:
    void checkRefresh(ContentSectionSet) override { ++refreshes; }
    void forceReload(const QString&) override { ++reloads; }
    int refreshes = 0;
    int reloads = 0;
};

TEST_F(DemoDataRoutesTest, SyncFeedFillsTheTablesAndBidsMove) {
    NoPages pages;
    SyncController c(test::programSyncContext(), &pages, nullptr);
    SyncOptions o;
    o.pollPeriodMs = 50;
    c.setOptions(o);
    program().appRunning.set(true);
    c.start();
    QStringList bids;
    ASSERT_TRUE(test::waitUntil(
        [&] {
            const SyncTables t = program().sync.snapshot();
            QString all;
            for (const QString& code : t.symbolCodes)
                all += t.quoteTable.value(QString(code + QStringLiteral("_BID"))) + u' ';
            if (bids.isEmpty() || bids.back() != all)
                bids << all;
            return bids.size() >= 4;
        },
        10000));
    program().appRunning.set(false);
    ASSERT_TRUE(test::waitUntil([&] { return !c.hasWorker(); }));
    EXPECT_EQ(c.workersStarted(), 1);
    const SyncTables t = program().sync.snapshot();
    EXPECT_EQ(program().session.sessid(), QString::fromStdString(m_config.sessid));
    EXPECT_GE(t.symbolCodes.size(), 12);
    EXPECT_TRUE(t.symbolCodes.contains(QStringLiteral("XAGRMB")));
    EXPECT_EQ(t.quoteTable.value(u"XAGRMB_showname"), QStringLiteral("现货白银"));
    EXPECT_EQ(t.quoteTable.value(u"EURUSD_BID").section(u'.', 1).size(), 5); // its digits
    EXPECT_EQ(pages.refreshes, 1); // the first stamps; the demo posts every 20-40 s
    EXPECT_EQ(pages.reloads, 0);
    const auto news = program().topInfoList.snapshot();
    ASSERT_FALSE(news.isEmpty());
    EXPECT_EQ(news[0].evType, QStringLiteral("rdnt"));
}

TEST_F(DemoDataRoutesTest, OnlyTheDemoMemberSignsInAndLogoutEndsItsSession) {
    const QString guest = QString::fromStdString(m_config.sessid);
    const QString member = QString::fromStdString(m_config.memberSessid);
    for (const auto& [user, password] :
         {std::pair{"demo", "demo"}, {"demo", "demo1234"}, {"Demo", "demo123"}, {"", ""}}) {
        const QJsonObject bad =
            parseJsonObject(login(QString::fromUtf8(user), QString::fromUtf8(password)));
        EXPECT_EQ(jsonInt(bad, u"status"), 0) << user << "/" << password;
        EXPECT_FALSE(jsonText(bad, u"error").isEmpty());
        EXPECT_FALSE(jsonText(bad, u"errno").isEmpty());
    }
    EXPECT_EQ(syncSession(guest), guest);
    EXPECT_EQ(syncSession(member), guest); // no member signed in yet
    const qint64 signStamp = jsonInt(sync(guest), u"LUDsign");

    const QJsonObject ok =
        parseJsonObject(login(QStringLiteral("demo"), QStringLiteral("demo123")));
    EXPECT_EQ(jsonInt(ok, u"status"), 1);
    EXPECT_EQ(jsonText(ok, u"sessid"), member);
    EXPECT_EQ(jsonText(ok, u"UID"), QString::number(m_config.memberUid));
    EXPECT_NE(member, guest);
    EXPECT_EQ(syncSession(guest), guest); // an old poll is not moved to the member session
    EXPECT_EQ(jsonInt(sync(guest), u"LUDsign"), signStamp);
    // The first poll with the member session: the signal list changed, its stamp moved on.
    const QJsonObject first = sync(member);
    EXPECT_EQ(jsonText(first, u"sessid"), member);
    EXPECT_GT(jsonInt(first, u"LUDsign"), signStamp);
    EXPECT_EQ(jsonInt(sync(member), u"LUDsign"), jsonInt(first, u"LUDsign"));

    program().session.setSessid(member);
    QString reply;
    auto* w = new requestThread(QStringLiteral("logout"), QStringLiteral("logout=1"),
                                program().paths.endpoints.dataServer.root(), program().session);
    w->setTerminationHandler(nullptr, [&reply](requestThread* s) { reply = s->recvStr(); });
    w->start();
    ASSERT_TRUE(test::waitUntil([&] { return !reply.isEmpty(); }));
    EXPECT_EQ(jsonInt(parseJsonObject(reply), u"status"), 1);
    EXPECT_EQ(syncSession(member), guest); // the next poll is told the guest session
}

TEST_F(DemoDataRoutesTest, ChartBarsForEverySymbolAndPeriodEndAtTheMovingBid) {
    HttpClient client;
    auto chart = [&](const QString& path) {
        const HttpReply r =
            client.get(QStringLiteral("http://127.0.0.1:%1/chart/").arg(m_port) + path);
        EXPECT_TRUE(r.ok) << path.toStdString();
        return parseJsonObject(r.text());
    };
    const QStringList periods{"M1", "M5", "M15", "M30", "H1", "H4", "D1", "W1", "MN"};
    const QJsonObject symbols =
        sync(QString::fromStdString(m_config.sessid))["symbolinfo"].toObject();
    ASSERT_FALSE(symbols.isEmpty());
    for (const QString& sym : symbols.keys()) {
        for (const QString& ped : periods) {
            const QJsonObject o = chart(sym + u'/' + ped + QStringLiteral("/0/1024"));
            ASSERT_EQ(jsonInt(o, u"status"), 1) << sym.toStdString() << ped.toStdString();
            const QJsonArray data = o["data"].toArray();
            // Months and weeks begin in 1990; everything else has 1024 bars to give.
            if (ped == u"MN")
                ASSERT_GE(data.size(), 12 * 36);
            else
                ASSERT_EQ(data.size(), 1024);
            ASSERT_EQ(jsonInt(o, u"count"), data.size());
            qint64 t = 631151999;
            for (const QJsonValue& v : data) {
                const QJsonObject b = v.toObject();
                EXPECT_GT(jsonInt(b, u"D"), t); // oldest first, strictly ascending
                t = jsonInt(b, u"D");
                EXPECT_LE(jsonReal(b, u"L"), std::min(jsonReal(b, u"O"), jsonReal(b, u"C")));
                EXPECT_GE(jsonReal(b, u"H"), std::max(jsonReal(b, u"O"), jsonReal(b, u"C")));
                EXPECT_GT(jsonReal(b, u"L"), 0);
            }
            // The newest bar closes at the bid.
            EXPECT_EQ(jsonReal(data.last().toObject(), u"C"), jsonReal(o, u"BID"));
        }
    }

    // The same history in a second reply (seeded walks); from a bar's time on, that bar and
    // the newer ones.
    const QJsonArray a = chart("XAGRMB/H1/0/1024")["data"].toArray();
    const QJsonArray b = chart("XAGRMB/H1/0/1024")["data"].toArray();
    for (qsizetype i = 0; i + 1 < a.size(); ++i)
        ASSERT_EQ(a[i], b[i]) << i;
    const qint64 last = jsonInt(a.last().toObject(), u"D");
    const QJsonObject since = chart(QStringLiteral("XAGRMB/H1/%1/0").arg(last));
    ASSERT_EQ(jsonInt(since, u"count"), 1);
    EXPECT_EQ(jsonInt(since["data"].toArray()[0].toObject(), u"D"), last);
    EXPECT_EQ(chart(QStringLiteral("XAGRMB/H1/%1/0").arg(jsonInt(a[1000].toObject(), u"D")))["data"]
                  .toArray()
                  .size(),
              24);

    // The last bar follows the bid as the sync feed moves it.
    double close = jsonReal(since["data"].toArray()[0].toObject(), u"C");
    bool moved = false;
    for (int i = 0; i < 50 && !moved; ++i) {
        sync(QString::fromStdString(m_config.sessid));
        const QJsonObject now = chart(QStringLiteral("XAGRMB/H1/%1/0").arg(last));
        const QJsonObject bar = now["data"].toArray().last().toObject();
        EXPECT_EQ(jsonReal(bar, u"C"), jsonReal(now, u"BID"));
        moved = jsonReal(bar, u"C") != close;
    }
    EXPECT_TRUE(moved);

    // Weeks start on Monday, months on the 1st.
    const QJsonArray weeks = chart("XAU/W1/0/3")["data"].toArray();
    for (const QJsonValue& v : weeks)
        EXPECT_EQ(QDateTime::fromSecsSinceEpoch(jsonInt(v.toObject(), u"D"), QTimeZone::utc())
                      .date()
                      .dayOfWeek(),
                  1);
    for (const QJsonValue& v : chart("XAU/MN/0/3")["data"].toArray())
        EXPECT_EQ(QDateTime::fromSecsSinceEpoch(jsonInt(v.toObject(), u"D"), QTimeZone::utc())
                      .date()
                      .day(),
                  1);

    EXPECT_EQ(jsonInt(chart("NOSUCH/H1/0/1024"), u"status"), 0);
    EXPECT_EQ(jsonInt(chart("XAU/H2/0/1024"), u"status"), 0);
}

TEST_F(DemoDataRoutesTest, AlertSoundIsFetchedAndIsAPlayableWav) {
    QTemporaryDir dir;
    SoundAlerts alerts(dir.path(), program().paths.endpoints);
    QStringList played;
    alerts.setPlayer([&played](const QString& p) { played << p; });
    alerts.audioPlay(QStringLiteral("alert.wav"));
    ASSERT_TRUE(test::waitUntil([&] { return !played.isEmpty(); }));
    QFile f(played.front());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray wav = f.readAll();
    EXPECT_TRUE(wav.startsWith("RIFF"));
    bool usedDefault = true;
    qputenv("SDL_AUDIODRIVER", "dummy");
    const auto result = AlertAudio::instance().playBytesToEnd(wav, &usedDefault);
    if (result != AlertAudio::Result::NoDevice) {
        EXPECT_FALSE(usedDefault); // SDL took the demo's file as it is
    }
}

TEST(DemoVideoFolder, APrivateFolderOfTheAccountsOwnKeptForTheNextStart) {
    // The clips go where nobody else can plant a file or a link under their names.
    QTemporaryDir temp;
    const std::string base = temp.path().toStdString();
    const std::string folder = base + "/kovan-demo-" + std::to_string(::geteuid());
    std::string problem;
    EXPECT_EQ(demo::videoFolder(base, &problem), folder);
    EXPECT_EQ(problem, "");
    EXPECT_EQ(test::modeOf(QString::fromStdString(folder)), 0700);
    EXPECT_EQ(demo::videoFolder(base, &problem), folder); // the same next time

    // Planted before the service started: a link, or a folder others may write.
    QTemporaryDir plantedBase;
    const std::string planted = plantedBase.path().toStdString();
    const QString elsewhere = plantedBase.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkdir(elsewhere));
    const QString link = plantedBase.filePath(QStringLiteral("kovan-demo-%1").arg(::geteuid()));
    ASSERT_TRUE(QFile::link(elsewhere, link));
    EXPECT_EQ(demo::videoFolder(planted, &problem), "");
    EXPECT_EQ(problem, link.toStdString() + ": a link");
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QDir().mkdir(link));
    ASSERT_TRUE(QFile::setPermissions(link, QFile::permissions(link) | QFile::WriteOther));
    EXPECT_EQ(demo::videoFolder(planted, &problem), "");
    EXPECT_NE(problem.find("open to group or others"), std::string::npos) << problem;
}

} // namespace

namespace {

TEST(DemoEventRate, AFasterRateBringsTheSectionPostsSooner) {
    // At a hundred times a service's pace a post comes every 0.2-0.4 s instead of 20-40 s.
    demo::DemoConfig config;
    config.eventRate = 100;
    httplib::Server server;
    demo::registerDataRoutes(server, config);
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&server] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::yield();
    HttpClient client;
    const QString url = QStringLiteral("http://127.0.0.1:%1/sync/").arg(port) +
                        QString::fromStdString(config.sessid);
    const auto stamps = [&] {
        const QJsonObject reply = parseJsonObject(client.get(url).text());
        return QStringList{jsonText(reply, u"LUDsign"), jsonText(reply, u"LUDarts"),
                           jsonText(reply, u"LUDplan"), jsonText(reply, u"LUDmkts")};
    };
    const QStringList first = stamps();
    QStringList moved;
    EXPECT_TRUE(test::waitUntil(
        [&] {
            const QStringList now = stamps();
            for (int i = 0; i < 4; ++i) {
                if (now[i] != first[i] && !moved.contains(QString::number(i)))
                    moved << QString::number(i);
            }
            return moved.size() == 4;
        },
        10000))
        << "sections posted to: " << moved.join(u',').toStdString();
    server.stop();
    thread.join();
}

} // namespace
