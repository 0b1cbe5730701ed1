// The notify module with desktop notifications: where windows place themselves and where they
// cannot, with the member's setting on and off, a page's notice and the client's own reach the
// pop-up and the notification service as the platform and the setting say, once each.

#include "notify/NotifyModule.h"

#include "audio/SoundAlerts.h"
#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "notify/DesktopNotices.h"
#include "notify/TrbMsgForm.h"

#include "FakeNoticeSender.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kovan {
namespace {

struct PlatformCase {
    const char* name;
    bool placesItself;
    const char* setting; // config.dat line, "" for none
    bool popupSlides;
    bool desktop;
};

void PrintTo(const PlatformCase& c, std::ostream* os) {
    *os << c.name;
}

const PlatformCase kCases[] = {
    {"X11Default", true, "", true, false},
    {"X11On", true, "sysnotify=1", true, true},
    {"X11Off", true, "sysnotify=0", true, false},
    {"WaylandDefault", false, "", false, true},
    {"WaylandOff", false, "sysnotify=0", false, false},
    {"WaylandOn", false, "sysnotify=1", false, true},
};

class NotifyModuleDesktop : public ::testing::TestWithParam<PlatformCase> {
protected:
    void SetUp() override {
        program().reset();
        ASSERT_TRUE(m_dir.isValid());
        program().paths.programDir = m_dir.path() + u'/';
        // The notices' sound present locally plays at once, without a fetch.
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("sound")));
        QFile wav(m_dir.filePath(QStringLiteral("sound/alert.wav")));
        ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
        wav.write("RIFF");
        wav.close();
        if (*GetParam().setting)
            program().settings.setLines({QString::fromLatin1(GetParam().setting)});
        m_desktop.windowsPlaceThemselves = GetParam().placesItself;
        build();
    }
    void build() {
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
                            {}},
             .openExternal = [this](const QUrl& u) { calls << "open|" + u.toString(); },
             .openSymbolChart = [this](const QString& sym) { calls << "chart|" + sym; },
             .settings = &p.settings,
             .desktop = &m_desktop,
             .makeNoticeSender =
                 [this] {
                     ++sendersMade;
                     auto s = std::make_unique<test::FakeNoticeSender>();
                     sender = s.get();
                     return s;
                 }});
        module->sounds()->setPlayer([this](const QString&) { ++sounds; });
        module->registerCommands(registry);
    }
    void TearDown() override {
        module.reset();
        program().reset();
    }
    int sentCount() const { return sender ? int(sender->sentNotices.size()) : 0; }

    QTemporaryDir m_dir;
    DesktopSession m_desktop;
    CommandRegistry registry;
    std::unique_ptr<NotifyModule> module;
    test::FakeNoticeSender* sender = nullptr;
    int sendersMade = 0;
    int sounds = 0;
    QStringList calls;
};

TEST_P(NotifyModuleDesktop, APagesNoticeGoesWhereThePlatformAndTheSettingSay) {
    const PlatformCase& c = GetParam();
    EXPECT_EQ(module->sysNotifyOn(), c.desktop);
    registry.IWebCallBack("tipwindow", R"({"title":"新信号","content":"卖出 <1932.50>",
        "viewact":"viewinfo","vititle":"信号详情","viparam":"signinfo/abc/1"})");
    EXPECT_EQ(module->popup()->isVisible(), c.popupSlides);
    EXPECT_EQ(sounds, 1); // the client's own sound, once, on every platform
    ASSERT_EQ(sentCount(), c.desktop ? 1 : 0);
    EXPECT_EQ(sendersMade, c.desktop ? 1 : 0);
    if (!c.desktop)
        return;
    EXPECT_EQ(sender->sentNotices[0].summary, "新信号");
    EXPECT_EQ(sender->sentNotices[0].body, "卖出 &lt;1932.50&gt;");
    sender->answerAll();
    // The notification's "查看" is the pop-up's: the page in the content pane, the window up.
    sender->invoke(sender->firstId(), QStringLiteral("default"));
    EXPECT_EQ(calls, (QStringList{"page|信号详情|signinfo/abc/1", "raise"}));
}

TEST_P(NotifyModuleDesktop, TheClientsOwnNoticeReachesTheDesktopOnce) {
    const PlatformCase& c = GetParam();
    module->raiseNotice("价格提醒", "黄金美元 买价 2050.10 已升至 2050.00", "symbolchart", "XAU");
    EXPECT_EQ(module->popup()->isVisible(), c.popupSlides);
    ASSERT_EQ(sentCount(), c.desktop ? 1 : 0);
    if (!c.desktop)
        return;
    sender->answerAll();
    sender->invoke(sender->firstId(), QStringLiteral("default"));
    EXPECT_EQ(calls, QStringList{"chart|XAU"});
}

TEST_P(NotifyModuleDesktop, TheTrayItemBrowsesTheNoticesOnEveryPlatform) {
    registry.IWebCallBack("tipwindow", R"({"title":"一"})");
    registry.IWebCallBack("tipwindow", R"({"title":"二"})");
    module->showNewestNotice();
    EXPECT_TRUE(module->popup()->isVisible());
    EXPECT_EQ(module->popup()->msgTitle()->text(), "二");
    module->popup()->lastbtimgClick();
    EXPECT_EQ(module->popup()->msgTitle()->text(), "一");
}

TEST_P(NotifyModuleDesktop, ToggledTheSettingIsSavedAndTakenAtOnce) {
    const PlatformCase& c = GetParam();
    for (const bool on : {!c.desktop, c.desktop}) {
        module->setSysNotify(on);
        EXPECT_EQ(module->sysNotifyOn(), on);
        QFile f(program().settings.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains(on ? "sysnotify=1\r\n" : "sysnotify=0\r\n"));
        const int before = sentCount();
        registry.IWebCallBack("tipwindow", R"({"title":"切换"})");
        EXPECT_EQ(sentCount(), before + (on ? 1 : 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Platforms, NotifyModuleDesktop, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kovan
