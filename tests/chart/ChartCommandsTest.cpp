// The chart commands through the command registry, the chart registry and its keys, and the
// chart terms gate, with windows that have no widgets.

#include "ChartWindowSupport.h"

#include "chart/ChartCommands.h"
#include "chart/ChartController.h"
#include "chart/ChartLauncher.h"
#include "chart/ChartRegistry.h"
#include "core/CommandRegistry.h"
#include "core/ConfigFile.h"
#include "core/Errors.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kovan;
using namespace charttest;

namespace {

class ChartCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_env = std::make_unique<WindowEnvironment>();
        program().sync.with([](SyncTables& t) {
            t.symbolInfo = parseJsonObject(QStringLiteral(
                R"({"XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":3},)"
                R"("ABCDEFGHIJKLMNOP":{"showname":"long","minpip":1,"piplen":0,"basepip":1}})"));
        });
        ChartLauncher::Hooks hooks;
        hooks.showTerms = [this](const QString& url, const QString& key) {
            m_termsShown << url + u'|' + key;
            if (m_acceptTerms) { // what the terms window does on acceptance
                program().settings.setValue(key, QStringLiteral("1"));
                program().settings.save();
            }
        };
        hooks.createWindow = [this] {
            m_windows.push_back(std::make_unique<ChartController>(m_env->options()));
            return m_windows.back().get();
        };
        hooks.showWindow = [this](ChartController* c) { m_shown.push_back(c); };
        hooks.discardWindow = [this](ChartController* c) {
            ++m_discarded;
            std::erase_if(m_windows, [c](const auto& w) { return w.get() == c; });
        };
        m_launcher.setHooks(hooks);
        registerChartCommands(m_commands, {&m_registry, &m_launcher});
    }
    void TearDown() override {
        m_windows.clear();
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
        test::pumpFor(10);
        m_env.reset();
    }
    QString call(const QString& name, const QString& params) {
        return m_commands.IWebCallBack(name, params);
    }
    void acceptedBefore() { program().settings.setValue(u"ACCEPTCHARTTOS", "1"); }
    QString openXau() { return call("viewchartbysign", R"({"SYM":"XAU","id":77})"); }

    std::unique_ptr<WindowEnvironment> m_env;
    ChartRegistry m_registry;
    ChartLauncher m_launcher{
        m_registry, {program().settings, program().session, program().paths, program().sync}};
    CommandRegistry m_commands;
    std::vector<std::unique_ptr<ChartController>> m_windows;
    std::vector<ChartController*> m_shown;
    QStringList m_termsShown;
    bool m_acceptTerms = false;
    int m_discarded = 0;
};

const QRegularExpression kKeyShape(QStringLiteral("^[0-9A-F]{32}$"));

} // namespace

TEST(ChartKeys, Md5OfTheClockTextAndUniqueWithinARun) {
    EXPECT_EQ(ChartRegistry::chartKey(1700000000, 123), "199B7718CA7E29F603B6DA4E0740F0C3");
    ChartRegistry r;
    r.setClock([] { return ChartRegistry::Clock{1700000000, 123}; }); // one millisecond
    const QString a = r.newKey(), b = r.newKey(), c = r.newKey();
    EXPECT_EQ(a, "199B7718CA7E29F603B6DA4E0740F0C3");
    EXPECT_EQ(b, "F9008793BD451FEFC03C7B8FBBD95251"); // "c1700000000123-1"
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    const QString live = ChartRegistry().newKey();
    EXPECT_TRUE(kKeyShape.match(live).hasMatch()) << live.toStdString();
}

TEST(ChartRegistryTable, RemoveCfpTakesOnlyTheFirstMatchAndKeepsTheOrder) {
    ChartRegistry r;
    int w1 = 0, w2 = 0, w3 = 0; // stand-ins for windows: only their addresses matter
    auto* c1 = reinterpret_cast<ChartController*>(&w1);
    auto* c2 = reinterpret_cast<ChartController*>(&w2);
    auto* c3 = reinterpret_cast<ChartController*>(&w3);
    r.append({c1, "K1", "XAU", ""});
    r.append({c2, "K2", "XAU", ""});
    r.append({c3, "K3", "XAGRMB", ""});
    EXPECT_EQ(r.find("K2"), c2);
    EXPECT_EQ(r.find("k2"), nullptr); // exact key
    r.removeCFP("K2");
    ASSERT_EQ(r.entries().size(), 2u);
    EXPECT_EQ(r.entries()[0].HKEY, "K1");
    EXPECT_EQ(r.entries()[1].HKEY, "K3");
    r.removeCFP("nope");
    EXPECT_EQ(r.entries().size(), 2u);
}

TEST_F(ChartCommandsTest, TermsClosedWithoutAcceptingGiveAKeyButNoWindowAndNoSetting) {
    const QString key = openXau();
    EXPECT_TRUE(kKeyShape.match(key).hasMatch()) << key.toStdString();
    ASSERT_EQ(m_termsShown.size(), 1);
    EXPECT_EQ(m_termsShown[0],
              "http://127.0.0.1:8802/tools/tos/sess%2F1%20x/tosofchart|ACCEPTCHARTTOS");
    EXPECT_TRUE(m_windows.empty());
    EXPECT_TRUE(m_registry.isEmpty());
    EXPECT_FALSE(program().settings.contains(u"ACCEPTCHARTTOS"));
    EXPECT_FALSE(QFile::exists(program().settings.filePath()));
    EXPECT_EQ(call("getchartinfo", key), "-1");
}

TEST_F(ChartCommandsTest, AcceptedTermsAreSavedAndTheNextChartOpensAtOnce) {
    m_acceptTerms = true;
    const QString key = openXau();
    ASSERT_EQ(m_termsShown.size(), 1);
    ASSERT_EQ(m_windows.size(), 1u);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_registry.find(key), m_windows[0].get());
    EXPECT_TRUE(configfile::load(program().settings.filePath()).contains("ACCEPTCHARTTOS=1"));

    const QString second = openXau();
    EXPECT_EQ(m_termsShown.size(), 1); // not asked again
    EXPECT_EQ(m_windows.size(), 2u);
    EXPECT_NE(second, key);
}

TEST_F(ChartCommandsTest, TermsValueOtherThanOneStillAsks) {
    program().settings.setValue(u"ACCEPTCHARTTOS", "yes");
    openXau();
    EXPECT_EQ(m_termsShown.size(), 1);
    EXPECT_TRUE(m_windows.empty());
    EXPECT_FALSE(ChartLauncher::termsAccepted(program().settings));
    program().settings.setValue(u"ACCEPTCHARTTOS", " 1");
    EXPECT_TRUE(ChartLauncher::termsAccepted(program().settings));
}

TEST_F(ChartCommandsTest, ViewchartbysignDescribesTheInstrumentFromTheSymbolTable) {
    acceptedBefore();
    const QString key = openXau();
    ChartController* w = m_registry.find(key);
    ASSERT_NE(w, nullptr);
    const QJsonObject d = w->SymbolInfo();
    EXPECT_EQ(jsonText(d, u"symbol"), "XAU");
    EXPECT_EQ(jsonText(d, u"showname"), QStringLiteral("黄金美元"));
    EXPECT_EQ(jsonText(d, u"period"), "H1");
    EXPECT_EQ(jsonReal(d, u"PIPMIN"), 0.01);
    EXPECT_EQ(jsonInt(d, u"PIPLEN"), 2);
    EXPECT_EQ(jsonInt(d, u"BASEPIP"), 3);
    EXPECT_EQ(jsonInt(d, u"signid"), 77);
    EXPECT_EQ(jsonText(d, u"baseurl"), QStringLiteral("127.0.0.1:%1").arg(m_env->dataPort));
    EXPECT_EQ(jsonText(d, u"appurl"), "127.0.0.1:8802");
    EXPECT_EQ(w->StyleInfo(), ChartLauncher::defaultStyle()); // opened without a style
    EXPECT_EQ(m_registry.entries()[0].SYM, "XAU");
    EXPECT_EQ(m_registry.entries()[0].BID, "");
}

TEST_F(ChartCommandsTest, ViewchartbysignRefusesWithoutShowingTheTerms) {
    EXPECT_THROW(call("viewchartbysign", "{SYM:XAU}"), ConversionError);
    EXPECT_THROW(call("viewchartbysign", R"({"SYM":"EURUSD","id":1})"), ConversionError);
    try {
        call("viewchartbysign", R"({"SYM":"ABCDEFGHIJKLMNOP","id":1})");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("longer than 15"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(m_termsShown.isEmpty());
    EXPECT_TRUE(m_windows.empty());
}

TEST_F(ChartCommandsTest, EmptyInstrumentShowsNothingNotEvenTheTerms) {
    EXPECT_EQ(m_launcher.showChartWindow("XAU", "", ""), "");
    EXPECT_TRUE(m_termsShown.isEmpty());
    EXPECT_TRUE(m_windows.empty());
}

TEST_F(ChartCommandsTest, AWindowThatCannotStartIsFreedAndLeavesNoEntry) {
    acceptedBefore();
    QDir().mkpath(historyFilePath(program().paths.programDir, "XAU", "H1")); // unreadable history
    EXPECT_THROW(openXau(), FileOpenError);
    EXPECT_EQ(m_discarded, 1);
    EXPECT_TRUE(m_windows.empty());
    EXPECT_TRUE(m_registry.isEmpty());
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(ChartCommandsTest, TwoChartsOfOneInstrumentAndClosingOne) {
    acceptedBefore();
    const QString k1 = openXau(), k2 = openXau();
    EXPECT_NE(k1, k2);
    ASSERT_EQ(m_registry.entries().size(), 2u);
    call("removeCFP", k1);
    EXPECT_EQ(m_registry.entries().size(), 1u);
    EXPECT_EQ(call("getchartinfo", k1), "-1");
    EXPECT_NE(call("getchartinfo", k2), "-1");
}

TEST_F(ChartCommandsTest, UnknownKeysAnswerMinusOne) {
    acceptedBefore();
    const QString key = openXau();
    const QString other = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(call("changechart", R"({"ckey":")" + other + R"(","cf":"period","period":"M5"})"),
              "-1");
    EXPECT_EQ(call("addInxLayer", R"({"ckey":")" + other + R"(","indextype":1,"attrib":{}})"),
              "-1");
    EXPECT_EQ(call("removeindex", R"({"ckey":")" + other + R"(","lkey":"X"})"), "-1");
    EXPECT_EQ(call("chartshot", R"({"ckey":")" + other + R"("})"), "-1");
    EXPECT_EQ(call("getchartinfo", other), "-1");
    // getchartinfo takes the key itself, not JSON.
    EXPECT_EQ(call("getchartinfo", R"({"ckey":")" + key + R"("})"), "-1");
    EXPECT_EQ(call("getchartinfo", key), m_registry.find(key)->getChartInfo());
    EXPECT_EQ(jsonText(m_registry.find(key)->SymbolInfo(), u"period"), "H1"); // nothing changed
}

TEST_F(ChartCommandsTest, ChangechartBranchesByCf) {
    acceptedBefore();
    const QString key = openXau();
    ChartController* w = m_registry.find(key);
    auto change = [&](const QString& rest) {
        return call("changechart", R"({"ckey":")" + key + R"(",)" + rest + "}");
    };
    EXPECT_EQ(change(R"("cf":"period","period":"H1")"), "0");
    EXPECT_EQ(change(R"("cf":"period","period":"M15")"), "1");
    EXPECT_EQ(w->caption(), QStringLiteral("朗鸥策略行情走势图 黄金美元 M15"));
    EXPECT_THROW(change(R"("cf":"period","period":"M123456789012345")"), ConversionError);

    EXPECT_EQ(change(R"("cf":"chartstyle","style":{"kwidth":7,"back":"#101010"})"), "1");
    EXPECT_EQ(jsonText(w->StyleInfo(), u"kwidth"), "7");
    EXPECT_EQ(jsonText(w->StyleInfo(), u"back"), "#101010");
    EXPECT_EQ(change(R"("cf":"chartstyle","style":"{\"kmargin\":2}")"), "1"); // JSON in a string
    EXPECT_EQ(jsonText(w->StyleInfo(), u"kmargin"), "2");
    EXPECT_EQ(jsonText(w->StyleInfo(), u"kwidth"), "7");
    EXPECT_THROW(change(R"("cf":"chartstyle","style":"red")"), ConversionError);

    EXPECT_EQ(change(R"("cf":"handstyle","style":"1")"), "1");
    EXPECT_TRUE(w->crossMode());
    EXPECT_EQ(change(R"("cf":"handstyle","style":0)"), "1");
    EXPECT_FALSE(w->crossMode());
    EXPECT_EQ(change(R"("cf":"unknown")"), "1");

    EXPECT_THROW(call("changechart", "ckey=1"), ConversionError);
    EXPECT_THROW(call("addInxLayer", "["), ConversionError);
    EXPECT_THROW(call("removeindex", ""), ConversionError);
}

TEST_F(ChartCommandsTest, IndicatorLayersComeAndGo) {
    acceptedBefore();
    const QString key = openXau();
    ChartController* w = m_registry.find(key);
    const QString a =
        call("addInxLayer",
             R"({"ckey":")" + key + R"(","indextype":1,"attrib":{"type":"BB","cycle":20}})");
    const QString b =
        call("addInxLayer", R"({"ckey":")" + key +
                                R"(","indextype":"1","attrib":"{\"type\":\"MA\",\"MALIST\":[]}"})");
    EXPECT_EQ(a.size(), 8);
    EXPECT_EQ(b.size(), 8);
    EXPECT_NE(a, b);
    ASSERT_EQ(w->chart().IndexLayers().size(), 2u);
    EXPECT_EQ(w->chart().IndexLayers()[1].attributes().value("type").toString(), "MA");
    EXPECT_EQ(call("removeindex", R"({"ckey":")" + key + R"(","lkey":")" + a + R"("})"), "1");
    ASSERT_EQ(w->chart().IndexLayers().size(), 1u);
    EXPECT_EQ(w->chart().IndexLayers()[0].lKey, b);
    EXPECT_THROW(call("addInxLayer", R"({"ckey":")" + key + R"(","indextype":1,"attrib":"{"})"),
                 ConversionError);
}

TEST_F(ChartCommandsTest, ChartshotAnswersThePathOfThePicture) {
    acceptedBefore();
    const QString key = openXau();
    const QString path = call("chartshot", R"({"ckey":")" + key + R"("})");
    EXPECT_TRUE(path.startsWith(program().paths.programDir + "screenshots/XAU_H1_"))
        << path.toStdString();
    EXPECT_TRUE(path.endsWith(".png"));
    EXPECT_FALSE(QImage(path).isNull());
}
