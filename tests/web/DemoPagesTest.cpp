// The demo service's pages in the client's views: each carries the marker, its page functions
// run without script errors and change what is shown, and its buttons reach client commands.

#include "WebTestSupport.h"

#include "core/CommandRegistry.h"
#include "core/JsonParams.h"
#include "core/ProgramState.h"
#include "DemoService.h"
#include "web/HostWebView.h"
#include "web/SectionPages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <httplib.h>

#include <memory>
#include <thread>

namespace demo {
// The chime belongs to the data routes; the page routes only hand it out.
std::string makeAlertWav() {
    return "RIFF-test";
}
} // namespace demo

using namespace kovan;
using namespace kovan::webtest;

namespace {

class DemoPagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new httplib::Server;
        s_server->set_keep_alive_timeout(1);
        demo::DemoConfig config;
        config.sessid = "DEMO1";
        config.liveEvents = false; // the tests call the page's live-event functions themselves
        s_member = config.member;
        demo::registerPageRoutes(*s_server, config);
        s_port = s_server->bind_to_any_port("127.0.0.1");
        s_thread = new std::thread([] { s_server->listen_after_bind(); });
        while (!s_server->is_running())
            std::this_thread::yield();
    }
    static void TearDownTestSuite() {
        s_server->stop();
        s_thread->join();
        delete s_thread;
        delete s_server;
        s_member.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        s_member->signOut();
        program().paths.programDir = m_dir.path() + u'/';
        program().session.setSessid("DEMO1");
        program().paths.endpoints.pageServer = HostPort{"127.0.0.1", quint16(s_port)};
        m_pages = std::make_unique<SectionPages>(program().session, program().paths);
        QObject::connect(m_pages.get(), &SectionPages::pageChecked,
                         [this](const QString& key, int tag) { m_checked[key] = tag; });
        for (const char* name :
             {"viewinfo",        "tipwindow",       "addfloatmsg",   "realsign",
              "playVideo",       "normalwindow",    "forcetitle",    "showyyopen",
              "livechat",        "viewchartbysign", "playaudio",     "changechart",
              "addInxLayer",     "removeindex",     "getchartinfo",  "chartshot",
              "loginLabelClick", "lgoutlabClick",   "utypelabClick", "regLabelClick",
              "pricealert"}) {
            const QString n = QString::fromLatin1(name);
            m_registry.add(n, [this, n](const QString& p) {
                m_calls.append(n + u'|' + p);
                return QStringLiteral("1");
            });
        }
        m_pages->attachScriptHosts(m_registry);
        m_pages->navigateSections();
        ASSERT_TRUE(waitUntil([this] { return m_checked.size() == 5; }));
    }

    QVariant js(const char* key, const QString& code) {
        return runJs(m_pages->view(QString::fromLatin1(key))->page(), code);
    }
    QString text(const char* key) { return js(key, "document.body.innerText").toString(); }

    static inline httplib::Server* s_server = nullptr;
    static inline std::thread* s_thread = nullptr;
    static inline std::shared_ptr<demo::DemoMember> s_member;
    static inline int s_port = 0;
    QTemporaryDir m_dir;
    CommandRegistry m_registry;
    QStringList m_calls;
    QHash<QString, int> m_checked;
    std::unique_ptr<SectionPages> m_pages;
};

} // namespace

TEST_F(DemoPagesTest, AllFiveSectionPagesAreApplicationPages) {
    for (const char* key : {"sign", "arts", "plan", "mkte", "rpae"})
        EXPECT_EQ(m_checked.value(key), 2) << key;
}

TEST_F(DemoPagesTest, PageFunctionsChangeWhatIsShown) {
    const struct {
        const char* key;
        const char* call;
        const char* shows;
        const char* hides;
    } cases[] = {
        {"sign", "showPostype(3)", "SELL", "BUY LIMIT"},
        {"sign", "showPostype(2)", "BUY LIMIT", "SELL LIMIT"},
        {"sign", "setStyle(2)", "开仓价", nullptr},
        {"arts", "showArtType(999)", "有声有色", "专题：全球铜矿"},
        {"arts", "showArtType(1)", "专题：全球铜矿", nullptr},
        {"arts", "showArtBySYM('现货铜')", "专题：全球铜矿", "白银日内震荡"},
        {"arts", "showArtBySYM('')", "白银日内震荡", nullptr},
        {"plan", "showPlanType(4)", "铜长期配置", "白银日内短线"},
        {"mkte", "showDataType(2)", "美联储货币政策听证会", "非农就业"},
        {"mkte", "reloadCheck(0)", "已刷新", nullptr},
        {"plan", "reloadCheck('DEMO1')", "策略有更新", nullptr},
        {"rpae", "reloadCheck(0)", "已刷新", nullptr},
    };
    for (const auto& c : cases) {
        const QVariant r = js(c.key, QStringLiteral("(function(){try{%1;return 'ok';}catch(e)"
                                                    "{return 'error:'+e.message;}})()")
                                         .arg(QString::fromUtf8(c.call)));
        EXPECT_EQ(r.toString(), "ok") << c.call;
        const QString shown = text(c.key);
        EXPECT_TRUE(shown.contains(QString::fromUtf8(c.shows))) << c.call;
        if (c.hides) {
            EXPECT_FALSE(shown.contains(QString::fromUtf8(c.hides))) << c.call;
        }
    }
    // The layout switch is only offered by pages that mention it in their body.
    EXPECT_TRUE(js("sign", "document.body.innerHTML.indexOf('setStyle') >= 0").toBool());
}

TEST_F(DemoPagesTest, ButtonsReachClientCommands) {
    js("sign", "detail(30121)");
    js("arts", "play(505)");
    js("mkte", "remind(9004)");
    js("rpae", "document.querySelector('.btn.main').click()");
    js("sign", "notice(30122)");
    ASSERT_EQ(m_calls.size(), 5) << m_calls.join('\n').toStdString();
    EXPECT_EQ(
        m_calls[0],
        QStringLiteral(
            R"(viewinfo|{"title":"现货白银 信号详情","viurl":"signinfo/DEMO1/30121","staytitle":0,"destory":""})"));
    EXPECT_TRUE(m_calls[1].startsWith("playVideo|")) << m_calls[1].toStdString();
    EXPECT_TRUE(m_calls[2].startsWith(R"(addfloatmsg|{"id":9004)")) << m_calls[2].toStdString();
    EXPECT_EQ(m_calls[3],
              QStringLiteral(R"(viewinfo|{"title":"会员中心","viurl":"appadmin/DEMO1"})"));
    EXPECT_TRUE(m_calls[4].startsWith(R"(tipwindow|{"title":"新信号：黄金美元")"))
        << m_calls[4].toStdString();
}

// "提醒" on a signal offers its take-profit and stop-loss as price alerts, in both layouts.
TEST_F(DemoPagesTest, ASignalsAlertButtonOffersItsTargets) {
    EXPECT_EQ(js("sign", "document.querySelectorAll('#list .btn').length").toInt(), 6 * 4);
    js("sign", "document.querySelectorAll('#list .card')[1].querySelectorAll('.btn')[2].click()");
    const QString offer = js("sign", "document.getElementById('offer').innerText").toString();
    EXPECT_TRUE(offer.contains("止盈 1918")) << offer.toStdString();
    EXPECT_TRUE(offer.contains("止损 1940")) << offer.toStdString();
    js("sign", "document.querySelectorAll('#offer .btn')[0].click()");
    js("sign", "setStyle(2); offerAlert(30121)");
    js("sign", "document.querySelectorAll('#offer .btn')[1].click()");
    EXPECT_EQ(
        m_calls,
        (QStringList{
            R"(pricealert|{"SYM":"XAU","price":1918,"note":"黄金美元 SELL LIMIT 止盈（陈思）"})",
            R"(pricealert|{"SYM":"XAGRMB","price":4096,"note":"现货白银 BUY 止损（李明远）"})"}));
}

TEST_F(DemoPagesTest, SignalPageLiveEventsReachTheNoticeCommands) {
    EXPECT_FALSE(js("sign", "LIVE").toBool());
    QStringList actions;
    for (int i = 0; i < 5; ++i)
        actions << js("sign", "liveNotice().viewact").toString();
    EXPECT_EQ(actions, (QStringList{"viewinfo", "openurl", "video", "", "viewinfo"}));
    EXPECT_EQ(js("sign", "liveNews().type").toString(), "newtips");
    EXPECT_EQ(js("sign", "liveTrade().length").toInt(), 3);
    ASSERT_EQ(m_calls.size(), 7) << m_calls.join('\n').toStdString();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(m_calls[i].startsWith("tipwindow|")) << m_calls[i].toStdString();
        EXPECT_TRUE(m_calls[i].contains(R"("audio":"alert.wav")")) << m_calls[i].toStdString();
    }
    EXPECT_TRUE(m_calls[0].contains(R"("viparam":"signinfo/DEMO1/30121")"));
    EXPECT_TRUE(m_calls[1].contains(R"("viparam":"http://127.0.0.1:)"));
    EXPECT_TRUE(m_calls[2].contains(R"(\"url\":\"http://127.0.0.1:)"));
    EXPECT_TRUE(m_calls[5].startsWith(R"(addfloatmsg|{"id":6001)")) << m_calls[5].toStdString();
    EXPECT_TRUE(m_calls[6].startsWith(R"(realsign|{"items":[{"id":30121)"))
        << m_calls[6].toStdString();
}

TEST_F(DemoPagesTest, ContentPagesCarryTheMarkerAndTheirButtonsWork) {
    HostWebView view("ConWeb", 0);
    view.attachScriptHost(m_registry);
    const QString root = program().paths.endpoints.pageServer.root();
    for (const char* page :
         {"appadmin", "myhold", "authorlist", "signsets", "artview", "signinfo"}) {
        ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/" + page + "/DEMO1"))) << page;
        EXPECT_TRUE(runJs(view.page(), "document.documentElement.outerHTML")
                        .toString()
                        .contains("QZEARVersion"))
            << page;
        EXPECT_EQ(runJs(view.page(), "document.querySelectorAll('.btn').length > 0").toBool(), true)
            << page;
    }
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/appadmin/DEMO1")));
    m_calls.clear();
    runJs(view.page(), "document.querySelector('.btn').click()");
    EXPECT_EQ(m_calls, QStringList{QStringLiteral("forcetitle|会员中心 · 账户概览")});
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/lecture/")));
    EXPECT_TRUE(runJs(view.page(), "document.body.innerText").toString().contains("在线投资讲座"));
}

TEST_F(DemoPagesTest, ReloadAddressesServeTheSamePages) {
    const QString root = program().paths.endpoints.pageServer.root();
    HostWebView view("rtWeb", 1);
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/right/DEMO1/?1700000000")));
    EXPECT_TRUE(runJs(view.page(), "document.title").toString() == "会员服务");
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/planlist/DEMO1/?rand=1700000000")));
    EXPECT_TRUE(runJs(view.page(), "document.title").toString() == "交易策略");
}

TEST_F(DemoPagesTest, ChartPanelDrivesTheChartNamedByItsKey) {
    HostWebView view("ChartWeb", 0);
    view.attachScriptHost(m_registry);
    const QString root = program().paths.endpoints.pageServer.root();
    // Signal 30122 of the signal page is a gold signal.
    ASSERT_TRUE(
        loadAndWait(view.page(), QUrl(root + "/tools/chartpanel/DEMO1/?signID=30122&ckey=K1")));
    EXPECT_TRUE(runJs(view.page(), "document.documentElement.outerHTML")
                    .toString()
                    .contains("QZEARVersion"));
    EXPECT_TRUE(runJs(view.page(), "document.body.innerText")
                    .toString()
                    .contains(QStringLiteral("黄金美元 XAU")));
    EXPECT_EQ(runJs(view.page(), "document.querySelectorAll('#periods .btn').length").toInt(), 9);
    m_calls.clear();
    EXPECT_EQ(runJs(view.page(), "(function(){try{period('MN'); toggleMA(); toggleMA(); hand(); "
                                 "resetHS(); info(); shot(); setWidth(2); scheme(3); "
                                 "return 'ok';}catch(e){return e.message;}})()")
                  .toString(),
              "ok");
    ASSERT_EQ(m_calls.size(), 8) << runJs(view.page(),
                                          "document.getElementById('toast').textContent")
                                        .toString()
                                        .toStdString();
    EXPECT_EQ(m_calls[0], R"(changechart|{"ckey":"K1","cf":"period","period":"MN"})");
    EXPECT_TRUE(
        m_calls[1].startsWith(R"(addInxLayer|{"ckey":"K1","indextype":1,"attrib":{"type":"MA")"))
        << m_calls[1].toStdString();
    EXPECT_EQ(m_calls[2], R"(removeindex|{"ckey":"K1","lkey":"1"})");
    EXPECT_EQ(m_calls[3], R"(changechart|{"ckey":"K1","cf":"handstyle","style":1})");
    EXPECT_EQ(m_calls[4], "getchartinfo|K1");
    EXPECT_EQ(m_calls[5], R"(chartshot|{"ckey":"K1"})");
    EXPECT_EQ(m_calls[6],
              R"(changechart|{"ckey":"K1","cf":"chartstyle","style":{"kwidth":7,"kmargin":2}})");
    EXPECT_EQ(m_calls[7], R"(changechart|{"ckey":"K1","cf":"chartstyle","style":{"linetype":1}})");
    EXPECT_EQ(runJs(view.page(), "document.getElementById('hs').className").toString(), "btn");
    EXPECT_EQ(runJs(view.page(), "document.getElementById('per').textContent").toString(), "MN");

    // The pivot levels come from the page server, then go to the chart as a PPVI layer.
    m_calls.clear();
    runJs(view.page(), "togglePivot(); 1");
    ASSERT_TRUE(waitUntil([this] { return !m_calls.isEmpty(); }));
    EXPECT_TRUE(m_calls[0].startsWith(
        R"(addInxLayer|{"ckey":"K1","indextype":1,"attrib":{"type":"PPVI","itime":)"))
        << m_calls[0].toStdString();

    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/tos/DEMO1/tosofchart")));
    EXPECT_TRUE(runJs(view.page(), "document.body.innerText")
                    .toString()
                    .contains(QStringLiteral("用户须知")));
}

TEST_F(DemoPagesTest, PivotLevelsOfTheDemoInstruments) {
    HostWebView view("ChartWeb", 0);
    const QString root = program().paths.endpoints.pageServer.root();
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/pivots/XAGRMB")));
    const QJsonObject p = parseJsonObject(runJs(view.page(), "document.body.innerText").toString());
    EXPECT_EQ(jsonInt(p, u"status"), 1);
    const double pv = jsonReal(p, u"PV");
    EXPECT_LT(jsonReal(p, u"S3"), jsonReal(p, u"S1"));
    EXPECT_LT(jsonReal(p, u"S1"), pv);
    EXPECT_LT(pv, jsonReal(p, u"R1"));
    EXPECT_LT(jsonReal(p, u"R1"), jsonReal(p, u"R3"));
    EXPECT_EQ(jsonInt(p, u"itime") % 86400, 0); // from the start of the day
    ASSERT_TRUE(loadAndWait(view.page(), QUrl(root + "/tools/pivots/NOSUCH")));
    EXPECT_EQ(jsonInt(parseJsonObject(runJs(view.page(), "document.body.innerText").toString()),
                      u"status"),
              0);
}

TEST_F(DemoPagesTest, SignalPageShowsMemberSignalsForTheMemberSessionAndFollowsTheSession) {
    QWebEnginePage* sign = m_pages->view(u"sign")->page();
    EXPECT_TRUE(text("sign").contains("登录会员后查看"));
    EXPECT_FALSE(text("sign").contains("会员专享信号 "));
    js("sign", "document.querySelector('#guest .btn.main').click()");
    EXPECT_EQ(m_calls, QStringList{QStringLiteral("loginLabelClick|")});

    // The client signed in: its reload request moves the page to the member session.
    s_member->signIn();
    m_checked.clear();
    js("sign", "reloadCheck(0)");
    ASSERT_TRUE(waitUntil([&] { return m_checked.value("sign") == 2; }));
    EXPECT_EQ(sign->url().path(), QStringLiteral("/tools/signlist/demo-member-7001/"));
    EXPECT_TRUE(text("sign").contains("会员专享信号"));
    EXPECT_TRUE(text("sign").contains("会员 20001"));
    EXPECT_FALSE(text("sign").contains("登录会员后查看"));
    // A reload with the same session refreshes in place.
    m_checked.clear();
    js("sign", "reloadCheck(0)");
    ASSERT_TRUE(waitUntil([&] { return text("sign").contains("已刷新"); }));
    EXPECT_TRUE(m_checked.isEmpty());
    m_calls.clear();
    js("sign", "document.querySelectorAll('#member .btn')[1].click()");
    EXPECT_EQ(m_calls, QStringList{QStringLiteral("lgoutlabClick|")});

    // Signed out: back to the guest session's page.
    s_member->signOut();
    js("sign", "reloadCheck(0)");
    ASSERT_TRUE(waitUntil([&] { return m_checked.value("sign") == 2; }));
    EXPECT_EQ(sign->url().path(), QStringLiteral("/tools/signlist/DEMO1/"));
    EXPECT_TRUE(text("sign").contains("登录会员后查看"));
}
