// The chart window itself: its place on the desktop and its parts, the panel page driving it
// through the page bridge, the live feed reaching the view, Ctrl+S, the collapsible panel,
// closing, and the module's exit steps.

#include "WebTestSupport.h"

#include "chart/ChartAlertMenus.h"
#include "chart/ChartLauncher.h"
#include "chart/ChartModule.h"
#include "chart/ChartRegistry.h"
#include "chart/ChartViewWidget.h"
#include "chart/TChartForm.h"
#include "core/CommandRegistry.h"
#include "core/JsonParams.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "threads/WorkerThread.h"
#include "web/HostWebView.h"

#include "TestServer.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::webtest;

namespace {

// The panel page: reports what the window answers through the bridge.
const char* const kPanel = R"HTML(<html><body><script>
var q = new URLSearchParams(location.search);
window.CKEY = q.get('ckey');
window.info = window.external.FCB('getchartinfo', window.CKEY);
function resetHS() { window.resets = (window.resets || 0) + 1; }
</script></body></html>)HTML";

std::string bars(std::int64_t from, int n) {
    std::string data;
    for (int i = 0; i < n; ++i) {
        if (!data.empty())
            data += ',';
        const std::string c = std::to_string(5600 + i % 17);
        data += "{\"D\":" + std::to_string(from + i * 3600) + ",\"O\":" + c + ",\"H\":" + c +
                ".5,\"L\":" + std::to_string(5599 + i % 17) + ",\"C\":" + c + "}";
    }
    return "{\"status\":1,\"count\":" + std::to_string(n) + ",\"data\":[" + data +
           "],\"BID\":5601}";
}

class ChartFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ProgramState& p = program();
        p.reset();
        p.appRunning.set(true);
        p.paths.programDir = m_dir.path() + u'/';
        p.session.setSessid(QStringLiteral("S1"));
        p.session.sessInfoText = QStringLiteral(R"({"UID":1,"sessid":"S1"})");
        p.settings.setValue(u"ACCEPTCHARTTOS", "1");
        p.paths.endpoints.pageServer = {QStringLiteral("127.0.0.1"), quint16(m_pages.port())};
        p.paths.endpoints.dataServer = {QStringLiteral("127.0.0.1"), quint16(m_data.port())};
        m_pages.setPage("/tools/chartpanel/S1/", kPanel);
        m_module = std::make_unique<ChartModule>();
        m_module->setNeeds({.settings = &p.settings,
                            .session = &p.session,
                            .paths = &p.paths,
                            .syncTables = &p.sync,
                            .appRunning = &p.appRunning,
                            .alerts = alertActions()});
        ChartController::Options o;
        o.timing.pollMs = 50;
        o.replacePauseMs = 600000;
        m_module->setWindowOptions(o);
        m_module->registerCommands(m_commands);
        m_module->addSteps(m_lifecycle);
    }
    void TearDown() override {
        m_module.reset();
        program().appRunning.set(false);
        ASSERT_TRUE(waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
    }
    TChartForm* openDefault() {
        m_module->openChart();
        const QList<TChartForm*> w = m_module->windows();
        return w.isEmpty() ? nullptr : w.back();
    }
    // The price alerts as the chart windows reach them: the lines of each symbol, and a log of
    // what the menus and drags asked for.
    ChartAlertActions alertActions() {
        return {.lines = [this](const QString& sym) { return m_lines.value(sym); },
                .addAt =
                    [this](const QString& sym, double price) {
                        m_alertLog << QStringLiteral("add %1 %2").arg(sym).arg(price);
                    },
                .openList = [this] { m_alertLog << "list"; },
                .edit = [this](qint64 id) { m_alertLog << QStringLiteral("edit %1").arg(id); },
                .remove = [this](qint64 id) { m_alertLog << QStringLiteral("remove %1").arg(id); },
                .move =
                    [this](qint64 id, double price) {
                        m_alertLog << QStringLiteral("move %1 %2").arg(id).arg(price);
                    }};
    }
    QVariant panelJs(TChartForm* form, const QString& code) {
        return runJs(form->ChartWeb()->page(), code);
    }

    QTemporaryDir m_dir;
    PageServer m_pages;
    test::TestServer m_data{[](const httplib::Request& req, httplib::Response& res) {
        if (req.path.size() > 8 && req.path.compare(req.path.size() - 7, 7, "/0/1024") == 0)
            res.set_content(bars(1700000000, 300), "application/json");
        else
            res.set_content(bars(1700000000 + 299 * 3600, 1), "application/json");
    }};
    CommandRegistry m_commands;
    Lifecycle m_lifecycle;
    std::unique_ptr<ChartModule> m_module;
    QHash<QString, std::vector<ChartAlertLine>> m_lines;
    QStringList m_alertLog;
};

QStringList itemsOf(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text() + (a->isEnabled() ? "" : " (off)");
    return items;
}

} // namespace

TEST_F(ChartFormTest, ATopLevelWindowOfItsOwnWithViewAndPanel) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->parentWidget(), nullptr); // not owned by the main window
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(800, 500));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("朗鸥策略行情走势图 现货白银 H1"));
    EXPECT_EQ(form->MVI()->size(), QSize(532, 500));
    EXPECT_EQ(form->RzSizePanel1()->handleWidth(), 7);
    const QWidget* panel = form->findChild<QFrame*>("RzPanel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width() + 7, 268);
    EXPECT_LE(panel->maximumWidth() + 7, 268);
    EXPECT_EQ(form->ChartWeb()->objectName(), "ChartWeb");
    EXPECT_EQ(form->ChartWeb()->size(), QSize(256, 496));
    ASSERT_EQ(m_module->registry().entries().size(), 1u);
    EXPECT_EQ(m_module->registry().entries()[0].SYM, "XAGRMB");
}

TEST_F(ChartFormTest, ThePanelPageDrivesItsWindowThroughTheBridge) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    const QString key = form->controller().CFHKey();
    ASSERT_TRUE(waitUntil([&] { return panelJs(form, "window.info || ''").toString() != ""; }));
    EXPECT_EQ(panelJs(form, "window.CKEY").toString(), key);
    EXPECT_EQ(panelJs(form, "window.info").toString(), form->controller().getChartInfo());

    const QString change = QStringLiteral(
        "window.external.FCB('changechart', JSON.stringify({ckey: CKEY, cf: 'period', "
        "period: 'M5'}))");
    EXPECT_EQ(panelJs(form, change).toString(), "1");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("朗鸥策略行情走势图 现货白银 M5"));
    const QString add = QStringLiteral(
        "window.external.FCB('addInxLayer', JSON.stringify({ckey: CKEY, indextype: 1, "
        "attrib: {type: 'MA', MALIST: [{MAPED: 5, linew: 1}]}}))");
    const QString layer = panelJs(form, add).toString();
    EXPECT_EQ(layer.size(), 8);
    EXPECT_EQ(form->controller().chart().IndexLayers().size(), 1u);
    // A period longer than 15 characters reaches the page as an error.
    EXPECT_TRUE(panelJs(form, "(function(){try{window.external.FCB('changechart', "
                              "JSON.stringify({ckey: CKEY, cf: 'period', period: "
                              "'ABCDEFGHIJKLMNOP'})); return 'no error';}catch(e){return "
                              "e.message;}})()")
                    .toString()
                    .contains("longer than 15"));

    // Right click in cross-hair mode: the page's resetHS() runs.
    form->controller().setHandStyle(1);
    EXPECT_EQ(form->MVI()->cursor().shape(), Qt::CrossCursor);
    form->controller().mouseDown(Qt::RightButton, 10, 10);
    EXPECT_EQ(form->MVI()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(waitUntil([&] { return panelJs(form, "window.resets || 0").toInt() == 1; }));
}

TEST_F(ChartFormTest, TheFeedsBarsReachTheView) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return form->controller().PData()->datalist.size() == 300; }));
    EXPECT_TRUE(form->controller().chart().FDFulled());
    EXPECT_EQ(form->controller().chart().Price(), 5601.0f);
    // The merged bars went to the history file on the feed's thread.
    const QString history = program().paths.programDir + "history/XAGRMB_H1.dat";
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(history).size() == 300 * 20; }));
    const QImage shown = form->MVI()->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(532, 500));
}

TEST_F(ChartFormTest, AMinimisedOrHiddenWindowDrawsNothingUntilShownAgain) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return form->controller().chart().FDFulled(); }));
    EXPECT_TRUE(form->controller().shown());
    form->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return !form->controller().shown(); }));
    form->showNormal();
    ASSERT_TRUE(waitUntil([&] { return form->controller().shown(); }));
    form->hide();
    EXPECT_FALSE(form->controller().shown());
    // A change while away waits; showing the window draws it.
    const quint64 frames = form->controller().view().publishCount();
    form->controller().setChartStyle(R"({"kwidth": 5})");
    EXPECT_EQ(form->controller().view().publishCount(), frames);
    form->show();
    EXPECT_TRUE(form->controller().shown());
    EXPECT_GT(form->controller().view().publishCount(), frames);
    EXPECT_EQ(form->controller().chart().style().kwidth(), 5);
}

TEST_F(ChartFormTest, CtrlSSavesThePictureOfTheView) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    QShortcut* save = nullptr;
    for (QShortcut* s : form->findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::CTRL | Qt::Key_S))
            save = s;
    ASSERT_NE(save, nullptr);
    Q_EMIT save->activated();
    const QStringList shots = QDir(program().paths.programDir + "screenshots")
                                  .entryList({"XAGRMB_H1_*.png"}, QDir::Files);
    ASSERT_EQ(shots.size(), 1);
    EXPECT_EQ(QImage(program().paths.programDir + "screenshots/" + shots[0]).size(),
              QSize(532, 500));
}

TEST_F(ChartFormTest, TheWheelOverTheViewScrollsAndThePanelCollapses) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return form->controller().chart().FDFulled(); }));
    form->move(100, 100);
    const int first = form->controller().chart().FDNInx();
    const QPoint local(300, 300);
    QWheelEvent wheel(local, form->MVI()->mapToGlobal(QPointF(local)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->MVI(), &wheel);
    EXPECT_LT(form->controller().chart().FDNInx(), first);

    form->togglePanel();
    EXPECT_TRUE(form->panelCollapsed());
    ASSERT_TRUE(waitUntil([&] { return form->MVI()->width() == 793; }));
    EXPECT_EQ(form->controller().chart().FMWidth(), 793);
    form->togglePanel();
    EXPECT_FALSE(form->panelCollapsed());
    ASSERT_TRUE(waitUntil([&] { return form->MVI()->width() == 532; }));
}

TEST_F(ChartFormTest, ClosingDropsTheEntryStopsTheFeedAndFreesTheWindow) {
    TChartForm* first = openDefault();
    TChartForm* second = openDefault();
    ASSERT_TRUE(first && second);
    const QString k1 = first->controller().CFHKey(), k2 = second->controller().CFHKey();
    EXPECT_NE(k1, k2);
    QPointer<TChartForm> gone(first);
    first->close();
    EXPECT_FALSE(first->controller().isRuning());
    ASSERT_TRUE(waitUntil([&] { return gone.isNull(); }));
    ASSERT_EQ(m_module->registry().entries().size(), 1u);
    EXPECT_EQ(m_module->registry().entries()[0].HKEY, k2);
    EXPECT_EQ(m_commands.IWebCallBack("getchartinfo", k1), "-1");
    EXPECT_NE(m_commands.IWebCallBack("getchartinfo", k2), "-1");
}

TEST_F(ChartFormTest, ExitStopsEveryFeedAndHidesTheWindows) {
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->controller().feed().CPThread(), nullptr);
    program().appRunning.set(false);
    m_lifecycle.runExit(ExitStep::StopWorkers);
    m_lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(waitUntil([&] { return m_lifecycle.pendingWaits().isEmpty(); }, 5000))
        << m_lifecycle.pendingWaits().join(", ").toStdString();
    EXPECT_EQ(form->controller().feed().feedsStarted(), 1);
}

// The price alerts on a chart window: each window draws its symbol's lines (and draws them anew
// when they change), its menus and drags reach the alerts, and "查看" on a triggered alert opens
// a chart of a synced symbol.
TEST_F(ChartFormTest, AlertLinesMenusAndTheAlertsChart) {
    m_lines["XAGRMB"] = {{4, 5605}};
    TChartForm* form = openDefault();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->controller().alertLines(), (std::vector<ChartAlertLine>{{4, 5605}}));
    m_lines["XAGRMB"] = {{4, 5605}, {6, 5610}};
    m_module->refreshAlertLines();
    EXPECT_EQ(form->controller().alertLines().size(), 2u);

    ChartAlertMenus& menus = form->alertMenus();
    std::unique_ptr<QMenu> chart(menus.chartMenu(5602));
    EXPECT_EQ(itemsOf(chart.get()), (QStringList{"在此价位设置提醒", "价格提醒…"}));
    chart->actions()[0]->trigger();
    chart->actions()[1]->trigger();
    std::unique_ptr<QMenu> noPrice(menus.chartMenu(NAN));
    EXPECT_EQ(itemsOf(noPrice.get()), (QStringList{"在此价位设置提醒 (off)", "价格提醒…"}));
    std::unique_ptr<QMenu> line(menus.lineMenu(6));
    EXPECT_EQ(itemsOf(line.get()), (QStringList{"编辑提醒…", "删除提醒"}));
    line->actions()[0]->trigger();
    line->actions()[1]->trigger();
    Q_EMIT form->controller().alertLineMoved(6, 5612);
    EXPECT_EQ(m_alertLog,
              (QStringList{"add XAGRMB 5602", "list", "edit 6", "remove 6", "move 6 5612"}));

    program().sync.with([](SyncTables& t) {
        t.symbolInfo = parseJsonObject(QStringLiteral(
            R"({"XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":1}})"));
    });
    m_lines["XAU"] = {{8, 2050}};
    m_module->openSymbolChart("XAU");
    ASSERT_EQ(m_module->windows().size(), 2);
    ChartController& gold = m_module->windows().back()->controller();
    EXPECT_EQ(gold.symbol(), "XAU");
    EXPECT_EQ(gold.period(), "H1");
    EXPECT_EQ(gold.alertLines(), (std::vector<ChartAlertLine>{{8, 2050}}));
    m_module->openSymbolChart("GONE"); // not in the table: nothing opens
    EXPECT_EQ(m_module->windows().size(), 2);
}
