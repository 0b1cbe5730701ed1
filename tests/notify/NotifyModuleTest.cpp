// The notify module as the program wires it: its commands through the registry reach the
// pop-up, the sound alerts and the floating bar.

#include "notify/NotifyModule.h"
#include "audio/SoundAlerts.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "notify/NoticeList.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"

#include "WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kovan {
namespace {

class NotifyModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().session.setSessid(QStringLiteral("SID9"));
        ASSERT_TRUE(m_dir.isValid());
        program().paths.programDir = m_dir.path() + u'/';
        // Sounds present locally play at once, without a fetch.
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("sound")));
        for (const char* name : {"alert.wav", "ding.wav"}) {
            QFile f(m_dir.filePath(QStringLiteral("sound/") + QString::fromLatin1(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("RIFF");
        }
        module = std::make_unique<NotifyModule>();
        ProgramState& p = program();
        module->setNeeds(
            {.session = &p.session,
             .news = &p.topInfoList,
             .realtimeSignals = &p.realtimeSignals,
             .paths = &p.paths,
             .showoptPage = [this](const QString& t, const QString& params, int,
                                   const QString&) { calls << "page|" + t + "|" + params; },
             .mainWindow = {[] { return false; },
                            [this] { calls << "show"; },
                            [this] { calls << "raise"; },
                            {},
                            [this] { calls << "bar closed"; }},
             .openExternal = [this](const QUrl& u) { calls << "open|" + u.toString(); },
             .openSymbolChart = [this](const QString& sym) { calls << "chart|" + sym; }});
        module->sounds()->setPlayer(
            [this](const QString& path) { played << QFileInfo(path).fileName(); });
        module->registerCommands(registry);
    }
    void TearDown() override {
        module.reset();
        program().reset();
    }

    QTemporaryDir m_dir;
    CommandRegistry registry;
    std::unique_ptr<NotifyModule> module;
    QStringList played;
    QStringList calls;
};

TEST_F(NotifyModuleTest, TipwindowShowsThePopupAndSounds) {
    EXPECT_EQ(registry.IWebCallBack("tipwindow", R"({"title":"新信号","viewact":"openurl",
        "viparam":"http://example.test/p"})"),
              "1");
    TrbMsgForm* popup = module->popup();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->msgTitle()->text(), "新信号");
    EXPECT_EQ(played, QStringList{"alert.wav"});
    popup->Label2Click();
    EXPECT_EQ(calls, QStringList{"open|http://example.test/p"});

    module->sounds()->audopenimgClick(); // speaker off
    registry.IWebCallBack("tipwindow", R"({"title":"静音","audio":"ding.wav"})");
    EXPECT_EQ(popup->msgTitle()->text(), "静音");
    EXPECT_EQ(played, QStringList{"alert.wav"});
    registry.IWebCallBack("playaudio", R"({"audio":"ding.wav"})");
    EXPECT_EQ(played, (QStringList{"alert.wav", "ding.wav"}));
}

// A notice of the client's own (a price alert): shown like a page's, silent by itself; its sound
// is the default one and follows the switch; "查看" opens the symbol's chart.
TEST_F(NotifyModuleTest, TheClientsOwnNoticeShowsAndItsViewOpensTheChart) {
    module->raiseNotice("价格提醒", "黄金美元 买价 2050.10 已升至 2050.00", "symbolchart", "XAU");
    TrbMsgForm* popup = module->popup();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->msgTitle()->text(), "价格提醒");
    EXPECT_EQ(popup->msgInfo()->text(), "黄金美元 买价 2050.10 已升至 2050.00");
    EXPECT_TRUE(played.isEmpty());
    module->playNoticeSound();
    EXPECT_EQ(played, QStringList{"alert.wav"});
    module->sounds()->audopenimgClick(); // speaker off
    module->playNoticeSound();
    EXPECT_EQ(played, QStringList{"alert.wav"});
    popup->Label2Click();
    EXPECT_EQ(calls, QStringList{"chart|XAU"});
}

TEST_F(NotifyModuleTest, TrayItemShowsTheNewestNoticeOnlyWhenThereIsOne) {
    module->showNewestNotice();
    EXPECT_FALSE(module->popup()->isVisible());
    registry.IWebCallBack("tipwindow", R"({"title":"一"})");
    registry.IWebCallBack("tipwindow", R"({"title":"二"})");
    module->popup()->Image2Click();
    module->showNewestNotice();
    EXPECT_TRUE(module->popup()->isVisible());
    EXPECT_EQ(module->popup()->msgTitle()->text(), "二");
    EXPECT_EQ(module->notices().size(), 2);
}

TEST_F(NotifyModuleTest, RealsignRefreshesTheStripAndAddfloatmsgFeedsTheTicker) {
    registry.IWebCallBack(
        "realsign", R"({"items":[{"id":4,"postype":"BUY LIMIT","symname":"现货铜","sl":0}]})");
    TtopFloatForm* bar = module->floatBar();
    EXPECT_EQ(bar->findChild<QLabel*>("to_postype")->text(), "低位买入");
    EXPECT_EQ(bar->findChild<QLabel*>("to_sl")->text(), "--");
    EXPECT_EQ(bar->shownSignalId(), 4);
    registry.IWebCallBack("addfloatmsg", R"({"id":1,"title":"快讯","type":"newtips"})");
    EXPECT_EQ(program().topInfoList.snapshot().size(), 1);
    bar->Label17Click();
    EXPECT_EQ(calls, (QStringList{"show", "page|交易信号|signinfo/SID9/4"}));
}

TEST_F(NotifyModuleTest, FloatBarHooks) {
    EXPECT_FALSE(module->floatBarShowing());
    module->showFloatBar(true);
    EXPECT_TRUE(module->floatBarShowing());
}

// Closing the bar tells the main window, which keeps itself reachable; hiding it at exit does
// not.
TEST_F(NotifyModuleTest, ClosingTheFloatBarReachesTheMainWindow) {
    module->showFloatBar(true);
    module->floatBar()->Image5Click();
    EXPECT_FALSE(module->floatBarShowing());
    EXPECT_EQ(calls, QStringList{"bar closed"});
    module->showFloatBar(false);
    module->floatBar()->hide();
    EXPECT_EQ(calls, QStringList{"bar closed"});
}

TEST_F(NotifyModuleTest, WindowsAreBuiltAfterStartUpOrWhenFirstNeeded) {
    Lifecycle lifecycle;
    module->setBuildWindowsDelayMs(20);
    module->addSteps(lifecycle);
    EXPECT_FALSE(module->windowsBuilt());
    // Nothing asks for them at start: the tray's test and the exit steps leave them unbuilt.
    EXPECT_FALSE(module->floatBarShowing());
    lifecycle.runExit(ExitStep::HideWindows);
    EXPECT_FALSE(module->windowsBuilt());

    lifecycle.runStart(StartStep::StartWorkers);
    EXPECT_FALSE(module->windowsBuilt());
    ASSERT_TRUE(test::waitUntil([&] { return module->windowsBuilt(); }));
    EXPECT_FALSE(module->popup()->isVisible());
    EXPECT_FALSE(module->floatBarShowing());
}

TEST_F(NotifyModuleTest, ANoticeBeforeTheBuildShowsAtOnce) {
    EXPECT_FALSE(module->windowsBuilt());
    registry.IWebCallBack("tipwindow", R"({"title":"早到"})");
    EXPECT_TRUE(module->popup()->isVisible());
    EXPECT_EQ(module->popup()->msgTitle()->text(), "早到");
}

} // namespace
} // namespace kovan
