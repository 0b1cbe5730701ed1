// The alerts module as the program wires it: the page command and the dialog, the file written
// at every change and found again by the next run, the notices of a reply's triggers handed to
// the GUI thread in one step, the charts' lines and their moves, the alerts window.

#include "AlertTestSupport.h"

#include "alerts/AlertFile.h"
#include "alerts/AlertsModule.h"
#include "alerts/PriceAlertDialog.h"
#include "alerts/PriceAlertsWindow.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"

#include "Files.h"
#include "WaitUntil.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

class AlertsModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_paths.programDir = m_dir.path() + u'/';
        m_tables.assign(tablesWithBids({"XAU=2031.45", "XAGRMB=5632", "AIDRMB=18965"}));
        m_module = makeModule();
    }
    std::unique_ptr<AlertsModule> makeModule() {
        auto m = std::make_unique<AlertsModule>();
        m->setNeeds({.syncTables = &m_tables,
                     .paths = &m_paths,
                     .raiseNotice =
                         [this](const QString& title, const QString& content,
                                const QString& viewAct, const QString& viparam) {
                             notices << title + u'|' + content + u'|' + viewAct + u'|' + viparam;
                         },
                     .playNoticeSound = [this] { ++sounds; },
                     .alertsChanged = [this] { ++redraws; }});
        m->registerCommands(m_registry);
        return m;
    }
    QString file() const { return m_paths.programDir + "alerts.dat"; }
    std::vector<PriceAlert> onDisk() const { return alertfile::read(file()).alerts; }
    // An alert through the dialog, as the member adds it.
    QString addThroughDialog(const char* symbol, double price, const char* note = "") {
        m_module->openAddDialog(QString::fromLatin1(symbol), price, QString::fromUtf8(note));
        m_module->dialog()->confirm();
        return m_module->dialog()->message();
    }

    QTemporaryDir m_dir;
    ProgramPaths m_paths;
    SharedSyncTables m_tables;
    CommandRegistry m_registry;
    std::unique_ptr<AlertsModule> m_module;
    QStringList notices;
    int sounds = 0;
    int redraws = 0;
};

TEST_F(AlertsModuleTest, PricealertOpensTheDialogFilledInAndAnswersAtOnce) {
    EXPECT_EQ(m_registry.IWebCallBack("pricealert", R"({"SYM":"XAU","price":1918,"note":"止盈"})"),
              "1");
    EXPECT_EQ(m_module->dialogIfBuilt(), nullptr); // after the page's call has returned
    ASSERT_TRUE(test::waitUntil([&] { return m_module->dialogIfBuilt(); }));
    PriceAlertDialog* d = m_module->dialog();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->symbolBox()->currentData().toString(), "XAU");
    EXPECT_EQ(d->priceBox()->value(), 1918);
    EXPECT_EQ(d->noteEdit()->text(), "止盈");
    EXPECT_EQ(d->conditionBox()->currentText(), "跌至"); // the bid is above
    EXPECT_FALSE(d->conditionBox()->isEnabled());
    EXPECT_EQ(m_module->book().size(), 0); // only once the member confirms
    d->confirm();
    ASSERT_EQ(m_module->book().size(), 1);
    EXPECT_FALSE(d->isVisible());
    const PriceAlert a = m_module->book().alerts()[0];
    EXPECT_EQ(a.price, 1918);
    EXPECT_EQ(a.direction, AlertDirection::Fall);
    EXPECT_EQ(a.note, "止盈");

    for (const char* refused : {R"({"SYM":"GONE","price":10})", R"({"SYM":"XAU","price":0})",
                                R"({"SYM":"XAU","price":"x"})"})
        EXPECT_EQ(m_registry.IWebCallBack("pricealert", refused), "-1") << refused;
}

TEST_F(AlertsModuleTest, EveryChangeIsWrittenAndTheNextRunFindsIt) {
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_EQ(addThroughDialog("XAU", 2050, "止盈"), "");
    EXPECT_EQ(addThroughDialog("XAGRMB", 5600), "");
    ASSERT_EQ(onDisk().size(), 2u);
    EXPECT_EQ(test::modeOf(file()), 0600);
    const qint64 silver = m_module->book().alerts()[1].id;
    m_module->setAlertEnabled(silver, false);
    EXPECT_FALSE(onDisk()[1].enabled);
    m_module->removeAlert(m_module->book().alerts()[0].id);
    ASSERT_EQ(onDisk().size(), 1u);
    EXPECT_EQ(onDisk()[0].symbol, "XAGRMB");

    // A new run (the program folder is the computer account's: no session involved).
    m_module = makeModule();
    m_module->loadAlerts();
    ASSERT_EQ(m_module->book().size(), 1);
    EXPECT_EQ(m_module->book().alerts()[0].price, 5600);
    EXPECT_EQ(m_module->book().alerts()[0].direction, AlertDirection::Fall);
}

TEST_F(AlertsModuleTest, TheDialogSaysWhyItRefuses) {
    EXPECT_EQ(addThroughDialog("XAU", 2031.45), "当前买价已在此价位");
    EXPECT_TRUE(m_module->dialog()->isVisible()); // stays open with the message
    std::vector<PriceAlert> full(PriceAlertBook::kMaxAlerts, alert("XAU", 2100, Rise));
    m_module->book().replaceAll(full);
    EXPECT_EQ(addThroughDialog("XAU", 2200), "最多可设置 500 个价格提醒，请先删除不再需要的提醒");
    EXPECT_EQ(m_module->book().size(), 500);
}

TEST_F(AlertsModuleTest, ABadFileIsKeptAsideAndTheClientStartsWithoutAlerts) {
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\":1,\"alerts\":[{\"symbol\":");
    f.close();
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runStart(StartStep::ShowFirstSection);
    EXPECT_EQ(m_module->book().size(), 0);
    EXPECT_FALSE(QFile::exists(file()));
    EXPECT_EQ(test::fileBytes(file() + ".bad"), "{\"format\":1,\"alerts\":[{\"symbol\":");
    // The next change writes a good file; the bad one stays for the member to look at.
    EXPECT_EQ(addThroughDialog("XAU", 2050), "");
    EXPECT_EQ(onDisk().size(), 1u);
    EXPECT_TRUE(QFile::exists(file() + ".bad"));
}

TEST_F(AlertsModuleTest, AReplysTriggersArriveAsOneStepOnTheGuiThread) {
    addThroughDialog("XAU", 2050, "止盈");
    addThroughDialog("XAU", 2040, "");
    addThroughDialog("XAGRMB", 5000); // falls to
    const int redrawsBefore = redraws;
    // The sync worker's thread: the check hands its step over and does not wait for it.
    std::thread worker([&] {
        m_module->quoteWatcher()->quotesUpdated(
            rates(R"([{"S":"XAU","B":"2050.30"},{"S":"XAGRMB","B":"5631"}])"), symbolTable());
    });
    worker.join();
    EXPECT_TRUE(notices.isEmpty()); // not yet: the GUI thread has not turned
    ASSERT_TRUE(test::waitUntil([&] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices,
              (QStringList{"价格提醒|黄金美元 买价 2050.30 已升至 2050.00\n止盈|symbolchart|XAU",
                           "价格提醒|黄金美元 买价 2050.30 已升至 2040.00|symbolchart|XAU"}));
    EXPECT_EQ(sounds, 1); // once per reply
    EXPECT_EQ(redraws, redrawsBefore + 1);
    const std::vector<PriceAlert> saved = onDisk();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].state, AlertState::Triggered);
    EXPECT_EQ(saved[1].state, AlertState::Triggered);
    EXPECT_EQ(saved[2].state, AlertState::Waiting);
    // Triggered once-alerts are no longer drawn.
    EXPECT_TRUE(m_module->chartLines("XAU").empty());
    EXPECT_EQ(m_module->chartLines("XAGRMB").size(), 1u);
}

TEST_F(AlertsModuleTest, AStepThatComesWhileTheClientEndsOnlyKeepsTheChange) {
    addThroughDialog("XAU", 2050);
    m_module->openWindow();
    Lifecycle lifecycle;
    m_module->addSteps(lifecycle);
    lifecycle.runExit(ExitStep::StopWorkers);
    std::thread worker([&] {
        m_module->quoteWatcher()->quotesUpdated(rates(R"([{"S":"XAU","B":"2051"}])"),
                                                symbolTable());
    });
    worker.join();
    ASSERT_TRUE(test::waitUntil([&] { return onDisk()[0].state == AlertState::Triggered; }));
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_EQ(sounds, 0);
    lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_FALSE(m_module->window()->isVisible());
}

TEST_F(AlertsModuleTest, ChartLinesMoveOnTheSymbolsGrid) {
    addThroughDialog("XAU", 2050);
    const qint64 id = m_module->book().alerts()[0].id;
    EXPECT_EQ(m_module->chartLines("XAU"), (std::vector<ChartAlertLine>{{id, 2050}}));
    EXPECT_TRUE(m_module->chartLines("XAGRMB").empty());
    const int before = redraws;
    m_module->moveAlert(id, 2010.4449); // dragged below the bid: falls to 2010.44
    EXPECT_EQ(m_module->chartLines("XAU"), (std::vector<ChartAlertLine>{{id, 2010.44}}));
    EXPECT_EQ(m_module->book().alerts()[0].direction, AlertDirection::Fall);
    EXPECT_EQ(onDisk()[0].price, 2010.44);
    m_module->moveAlert(id, 2031.451); // onto the bid: refused, the line goes back
    EXPECT_EQ(m_module->chartLines("XAU"), (std::vector<ChartAlertLine>{{id, 2010.44}}));
    EXPECT_EQ(redraws, before + 2);
    m_module->removeAlert(id);
    EXPECT_TRUE(m_module->chartLines("XAU").empty());
}

TEST_F(AlertsModuleTest, TheWindowListsTheAlertsAndItsButtonsChangeThem) {
    addThroughDialog("XAU", 2050, "止盈");
    addThroughDialog("XAGRMB", 5000);
    m_module->openWindow();
    PriceAlertsWindow* w = m_module->window();
    EXPECT_EQ(w->windowTitle(), "价格提醒");
    QTableWidget* t = w->table();
    ASSERT_EQ(t->rowCount(), 2);
    QStringList first;
    for (int c = 0; c < t->columnCount(); ++c)
        first << t->item(0, c)->text();
    EXPECT_EQ(first,
              (QStringList{"黄金美元", "升至", "2050.00", "2031.45", "止盈", "一次", "等待中"}));
    w->select(m_module->book().alerts()[1].id);
    EXPECT_EQ(w->enableButton()->text(), "停用");
    w->enableClicked();
    EXPECT_EQ(t->item(1, 6)->text(), "已停用");
    EXPECT_EQ(w->enableButton()->text(), "启用"); // the selection stayed
    w->removeClicked();
    EXPECT_EQ(t->rowCount(), 1);
    w->select(m_module->book().alerts()[0].id);
    w->editClicked();
    PriceAlertDialog* d = m_module->dialog();
    EXPECT_EQ(d->windowTitle(), "编辑价格提醒");
    d->priceBox()->setValue(2060);
    d->confirm();
    EXPECT_EQ(t->item(0, 2)->text(), "2060.00");
    w->addClicked();
    EXPECT_EQ(d->windowTitle(), "添加价格提醒");
    // A new alert starts at the first symbol of the table, at its bid.
    EXPECT_EQ(d->symbolBox()->currentData().toString(), "AIDRMB");
    EXPECT_EQ(d->priceBox()->value(), 18965);
    d->symbolBox()->setCurrentIndex(d->symbolBox()->findData("XAU"));
    EXPECT_EQ(d->priceBox()->value(), 2031.45);
    EXPECT_EQ(d->priceBox()->decimals(), 2);
}

} // namespace
