#include "WaitUntil.h"

#include "core/Errors.h"
#include "core/ProgramState.h"
#include "shell/RatesTicker.h"
#include "shell/SectionArea.h"
#include "shell/SectionPanel.h"
#include "shell/SkinImages.h"
#include "shell/SkinPanel.h"
#include "shell/StatusBand.h"
#include "shell/TitleBand.h"
#include "shell/TMainForm.h"
#include "shell/TrayIcon.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMovie>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace kovan {
namespace {

using kovan::test::waitUntil;

struct Call {
    QString view;
    QString text;
    bool operator==(const Call&) const = default;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        program().session.setSessid(QStringLiteral("SID42"));
        program().paths.endpoints.pageServer = {QStringLiteral("pages.test"), 88};
        form = std::make_unique<TMainForm>();
        // The program's pieces, as the shell module hands them over.
        form->state() = {&program().session, &program().paths};
        form->ratesTicker()->readFrom(program().sync, program().appRunning);
        skin().loadStartImages();
        form->loadSkin();
        form->showFirstSection();
        form->show();
        PageHooks& h = form->hooks().pages;
        h.runPageScript = [this](const QString& v, const QString& s) { scripts.append({v, s}); };
        h.navigateView = [this](const QString& v, const QString& u) { navigations.append({v, u}); };
        h.showoptPage = [this](const QString& t, const QString& p, int stay, const QString& d) {
            pages.append({t, p + u'|' + QString::number(stay) + u'|' + d});
        };
        h.pageBody = [this](const QString&, std::function<void(const QString&)> done) {
            done(body);
        };
    }
    void TearDown() override {
        form.reset();
        program().reset();
    }

    SkinPanel* panel(const char* name) const {
        return form->findChild<SkinPanel*>(QString::fromLatin1(name));
    }
    static void click(SkinPanel* p) {
        ASSERT_NE(p, nullptr);
        Q_EMIT p->clicked();
    }

    // Stands in for the floating bar: the main window reaches it through its hooks only.
    struct FakeFloatBar {
        bool showing = false;
        QList<bool> shows; // bringToFront of every showFloatBar call
    };
    void hookFloatBar(FakeFloatBar& bar) {
        form->hooks().floatBarShowing = [&bar] { return bar.showing; };
        form->hooks().showFloatBar = [&bar](bool toFront) {
            bar.showing = true;
            bar.shows.append(toFront);
        };
    }

    std::unique_ptr<TMainForm> form;
    QList<Call> scripts, navigations, pages;
    QString body;
};

TEST_F(MainFormTest, DesignLayout) {
    EXPECT_EQ(form->size(), QSize(920, 585));
    EXPECT_EQ(form->bgMPae()->geometry(), QRect(0, 85, 713, 448));
    EXPECT_EQ(panel("MLinePae")->geometry(), QRect(713, 85, 7, 448));
    EXPECT_EQ(form->bgRPae()->geometry(), QRect(720, 85, 200, 448));
    EXPECT_EQ(form->ConBgPae()->geometry(), QRect(2, 85, 711, 448));
    EXPECT_EQ(panel("btTipPae")->geometry(), QRect(0, 533, 920, 25));
    EXPECT_EQ(panel("bgBPae")->geometry(), QRect(0, 558, 920, 27));
    EXPECT_EQ(panel("RzPanel5")->size(), QSize(475, 54));
    EXPECT_EQ(panel("RzPanel6")->size(), QSize(284, 54));
    EXPECT_EQ(panel("sgMPae")->geometry(), QRect(2, 0, 711, 448));
    EXPECT_EQ(panel("sgBtnRht")->x(), 631);
    EXPECT_EQ(panel("sgBtnSet")->x(), 561);
    EXPECT_EQ(panel("sgBtnChart")->x(), 481);
    EXPECT_EQ(panel("RzPanel14")->x(), 341);
    EXPECT_EQ(panel("aySYMTypeBT")->x(), 531);
    EXPECT_EQ(panel("artVideoBtn")->x(), 270);
    // Sound switch left of the 160-pixel clock.
    EXPECT_EQ(panel("audopenimg")->geometry(), QRect(920 - 160 - 28, 5, 25, 18));
}

TEST_F(MainFormTest, ResizeLaysOutAgain) {
    form->resize(1000, 600);
    EXPECT_EQ(form->bgMPae()->geometry(), QRect(0, 85, 793, 463));
    EXPECT_EQ(form->bgRPae()->geometry(), QRect(800, 85, 200, 463));
    EXPECT_EQ(panel("plMPae")->geometry(), QRect(2, 0, 791, 463));
    EXPECT_EQ(panel("plBtnRht")->x(), 791 - 80);
    EXPECT_EQ(panel("btTipPae")->geometry(), QRect(0, 548, 1000, 25));
}

TEST_F(MainFormTest, DividerCollapsesAndExpands) {
    SkinPanel* divider = panel("MLinePae");
    form->MLinePaeClick({716, 309 - 30});
    form->MLinePaeClick({716, 309 + 30});
    EXPECT_EQ(divider->tag(), 0);
    EXPECT_EQ(form->bgMPae()->width(), 713);

    form->show();
    form->MLinePaeClick({716, 309});
    EXPECT_EQ(divider->tag(), 1);
    EXPECT_EQ(divider->geometry(), QRect(913, 85, 7, 448));
    EXPECT_EQ(form->bgMPae()->geometry(), QRect(0, 85, 913, 448));
    EXPECT_FALSE(form->bgRPae()->isVisible());
    EXPECT_EQ(panel("sgMPae")->width(), 911);
    EXPECT_EQ(form->ConBgPae()->width(), 911);
    EXPECT_EQ(panel("sgBtnRht")->x(), 911 - 80);

    form->MLinePaeClick({916, 309});
    EXPECT_EQ(divider->tag(), 0);
    EXPECT_EQ(form->bgMPae()->geometry(), QRect(0, 85, 713, 448));
    EXPECT_EQ(divider->geometry(), QRect(713, 85, 7, 448));
    EXPECT_EQ(form->bgRPae()->geometry(), QRect(720, 85, 200, 448));
    EXPECT_TRUE(form->bgRPae()->isVisible());
    EXPECT_EQ(panel("sgBtnRht")->x(), 631);
}

TEST_F(MainFormTest, ClickingTheSelectedNavigationButtonOnlyHidesTheContentPane) {
    form->show();
    form->ConBgPae()->show();
    click(panel("navbt_sg"));
    EXPECT_FALSE(form->ConBgPae()->isVisible());
    EXPECT_TRUE(panel("sgMPae")->isVisible());
    EXPECT_EQ(panel("navbt_sg")->tag(), 2);
    EXPECT_EQ(form->sections()->navigation().current(), "sg");
}

TEST_F(MainFormTest, NavigationSwitchesSections) {
    form->show();
    click(panel("navbt_ay"));
    EXPECT_TRUE(panel("ayMPae")->isVisible());
    EXPECT_FALSE(panel("sgMPae")->isVisible());
    EXPECT_EQ(panel("navbt_ay")->tag(), 2);
    EXPECT_EQ(panel("navbt_sg")->tag(), 0);
    // switchPae from a page leaves the highlight on "ay".
    form->ConBgPae()->show();
    EXPECT_EQ(form->sections()->switchPae("sg"), "1");
    EXPECT_TRUE(panel("sgMPae")->isVisible());
    EXPECT_FALSE(panel("ayMPae")->isVisible());
    EXPECT_FALSE(form->ConBgPae()->isVisible());
    EXPECT_EQ(panel("navbt_ay")->tag(), 2);
    EXPECT_THROW(form->sections()->switchPae("zz"), InvalidAccessError);
    EXPECT_TRUE(panel("sgMPae")->isVisible());
}

TEST_F(MainFormTest, NavigationHover) {
    SkinPanel* sg = panel("navbt_sg");
    SkinPanel* dt = panel("navbt_dt");
    Q_EMIT sg->entered();
    EXPECT_EQ(sg->tag(), 2);
    Q_EMIT dt->entered();
    EXPECT_EQ(dt->tag(), 1);
    Q_EMIT dt->left();
    EXPECT_EQ(dt->tag(), 0);
}

TEST_F(MainFormTest, FilterButtonsCallThePages) {
    click(panel("RzPanel12")); // 看涨
    EXPECT_EQ(scripts.value(0), (Call{"sgWeb", "showPostype(2)"}));
    EXPECT_EQ(form->sections()->group("sgBtnGrp")->tag(), 2);
    click(panel("RzPanel16")); // 经济数据
    EXPECT_EQ(scripts.value(1), (Call{"dtWeb", "showDataType(3)"}));
    click(panel("RzPanel22")); // 新闻评论
    EXPECT_EQ(scripts.value(2), (Call{"ayWeb", "showArtType(3)"}));
    click(panel("RzPanel4")); // 长期
    EXPECT_EQ(scripts.value(3), (Call{"plWeb", "showPlanType(4)"}));
}

TEST_F(MainFormTest, VideoButtonKeepsTheAnalysisGroup) {
    click(panel("RzPanel8"));
    scripts.clear();
    click(panel("artVideoBtn"));
    EXPECT_EQ(scripts, (QList<Call>{{"ayWeb", "showArtType(999)"}}));
    EXPECT_EQ(form->sections()->group("ayBtnGrp")->tag(), 2);
}

TEST_F(MainFormTest, StyleButtonsNeedSetStyleInThePage) {
    body = QStringLiteral("<ul>no styles here</ul>");
    click(panel("RzPanel19"));
    EXPECT_TRUE(scripts.isEmpty());
    EXPECT_EQ(form->sections()->group("RzPanel14")->tag(), 2);
    body = QStringLiteral("<script>setStyle</script>");
    click(panel("RzPanel18"));
    EXPECT_EQ(scripts, (QList<Call>{{"sgWeb", "setStyle(1)"}}));
    EXPECT_EQ(form->sections()->group("RzPanel14")->tag(), 1);
}

TEST_F(MainFormTest, InstrumentMenu) {
    QMenu* menu = form->sections()->artsymmenu();
    ASSERT_NE(menu, nullptr);
    auto item = [menu](const char* name) {
        return menu->findChild<QAction*>(QString::fromLatin1(name));
    };
    ASSERT_NE(item("ASML_XAGRMB"), nullptr);
    item("ASML_XAGRMB")->trigger();
    EXPECT_EQ(scripts.value(0), (Call{"ayWeb", "showArtBySYM('现货白银')"}));
    EXPECT_EQ(panel("aySYMTypeBT")->caption(), "现货白银");
    item("ASML_ALL")->trigger();
    EXPECT_EQ(scripts.value(1), (Call{"ayWeb", "showArtBySYM('')"}));
    EXPECT_EQ(panel("aySYMTypeBT")->caption(), "全部品种");
    // A left click on the button does nothing.
    const qsizetype before = scripts.size();
    click(panel("aySYMTypeBT"));
    EXPECT_EQ(scripts.size(), before);
}

TEST_F(MainFormTest, ServiceButtonTagsAndPages) {
    SkinPanel* b = panel("MyHotBtPae");
    Q_EMIT b->entered();
    EXPECT_EQ(b->tag(), 2);
    Q_EMIT b->pressed(nullptr);
    EXPECT_EQ(b->tag(), 1);
    Q_EMIT b->released(nullptr);
    EXPECT_EQ(b->tag(), 0);
    Q_EMIT b->left();
    EXPECT_EQ(b->tag(), 0);
    click(b);
    click(panel("MySETBTPae"));
    click(panel("RzPanel9"));
    click(panel("sgBtnSet"));
    EXPECT_EQ(pages, (QList<Call>{{"会员中心", "appadmin/SID42|0|"},
                                  {"正在关注", "myhold/SID42|0|"},
                                  {"服务团队", "authorlist/SID42|0|"},
                                  {"交易信号过滤", "signsets/SID42|1|"}}));
}

TEST_F(MainFormTest, RefreshButtons) {
    click(panel("sgBtnRht"));
    click(panel("dtBtnRht"));
    click(panel("ayBtnRht"));
    click(panel("plBtnRht"));
    EXPECT_EQ(navigations, (QList<Call>{{"sgWeb", "http://pages.test:88/tools/signlist/SID42"},
                                        {"dtWeb", "http://pages.test:88/tools/mktevent/SID42"},
                                        {"ayWeb", "http://pages.test:88/tools/artlist/SID42"},
                                        {"plWeb", "http://pages.test:88/tools/planlist/SID42/"}}));
}

TEST_F(MainFormTest, SectionViewsGoBelowTheHeaders) {
    auto* sgWeb = new QWidget;
    auto* rtWeb = new QWidget;
    form->setSectionViews(sgWeb, nullptr, nullptr, nullptr, rtWeb);
    EXPECT_EQ(sgWeb->parentWidget(), panel("sgMPae"));
    EXPECT_EQ(sgWeb->geometry(), QRect(0, 39, 711, 448 - 39));
    EXPECT_EQ(rtWeb->parentWidget(), form->bgRPae());
    EXPECT_EQ(rtWeb->geometry(), QRect(0, 0, 198, 448));
    form->resize(1000, 600);
    EXPECT_EQ(sgWeb->geometry(), QRect(0, 39, 791, 463 - 39));
    EXPECT_EQ(rtWeb->geometry(), QRect(0, 0, 198, 463));
}

TEST_F(MainFormTest, TopUserLabelOpensTheMemberCentre) {
    EXPECT_EQ(form->titleBand()->topUNLab()->text(), "    访客    ");
    QAction* n10 = form->trayIcon()->trayMenu()->findChild<QAction*>("N10");
    ASSERT_NE(n10, nullptr);
    form->show();
    n10->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(pages, (QList<Call>{{"会员中心", "appadmin/SID42|0|"}}));
}

TEST_F(MainFormTest, MinimiseAndCloseWithoutSession) {
    program().session.setSessid(QString());
    FakeFloatBar bar;
    hookFloatBar(bar);
    form->setTrayAvailable(true);
    form->show();
    form->minImgClick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(bar.shows.isEmpty());
    EXPECT_TRUE(form->trayIcon()->trayIconAdded());
    form->show();
    form->ClsImgClick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(bar.shows, QList<bool>{false});
    // Closed again while the bar shows: it is left as it is.
    form->show();
    form->ClsImgClick();
    EXPECT_EQ(bar.shows, QList<bool>{false});
}

// Without a tray every way out of sight leaves the window minimised, never hidden.
TEST_F(MainFormTest, WithoutATrayTheWindowMinimisesInstead) {
    FakeFloatBar bar;
    hookFloatBar(bar);
    const std::vector<std::pair<const char*, std::function<void()>>> ways{
        {"minimise picture", [&] { form->minImgClick(); }},
        {"close picture", [&] { form->ClsImgClick(); }},
        {"SC_CLOSE", [&] { form->close(); }},
        {"SC_MINIMIZE", [&] { form->setWindowState(form->windowState() | Qt::WindowMinimized); }}};
    for (const auto& [name, way] : ways) {
        form->showNormal();
        ASSERT_FALSE(form->isMinimized());
        way();
        EXPECT_TRUE(form->isVisible()) << name;
        EXPECT_TRUE(form->isMinimized()) << name;
    }
    // The floating bar as with a tray: raised on each minimise with a session (all but the
    // close picture, which shows it once).
    EXPECT_EQ(bar.shows, (QList<bool>{true, true, true}));
}

TEST_F(MainFormTest, TrayGoneWhileHiddenBringsTheWindowBackMinimised) {
    form->setTrayAvailable(true);
    form->show();
    form->hideToTray();
    ASSERT_FALSE(form->isVisible());
    form->setTrayAvailable(false);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    // Gone while shown: left as it is.
    form->setTrayAvailable(true);
    form->showNormal();
    form->setTrayAvailable(false);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(MainFormTest, FloatingBarClosedWithoutATrayLeavesTheWindowReachable) {
    form->hide();
    form->floatBarClosed();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    // With a tray the window stays in it.
    form->setTrayAvailable(true);
    form->hideToTray();
    form->floatBarClosed();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, StartedAtLogin) {
    FakeFloatBar bar;
    hookFloatBar(bar);
    form->showAtStart(true);
    EXPECT_TRUE(form->isMinimized()) << "no tray";
    EXPECT_EQ(bar.shows, QList<bool>{true});
    TMainForm inTray;
    inTray.state() = form->state();
    inTray.setTrayAvailable(true);
    inTray.showAtStart(true);
    EXPECT_FALSE(inTray.isVisible());
    EXPECT_TRUE(inTray.trayIcon()->trayIconAdded());
    form->showAtStart(false);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainFormTest, TrayFloatingBarItemShowsTheBarOnce) {
    FakeFloatBar bar;
    hookFloatBar(bar);
    QAction* n9 = form->trayIcon()->trayMenu()->findChild<QAction*>("N9");
    ASSERT_NE(n9, nullptr);
    EXPECT_EQ(n9->text(), "浮窗(&F)");
    n9->trigger();
    n9->trigger();
    EXPECT_EQ(bar.shows, QList<bool>{false});
}

TEST_F(MainFormTest, TrayItemsReachTheirParts) {
    int notices = 0, exits = 0, alerts = 0;
    form->hooks().showNewestNotice = [&notices] { ++notices; };
    form->hooks().exitProcedure = [&exits] { ++exits; };
    form->hooks().showPriceAlerts = [&alerts] { ++alerts; };
    form->trayIcon()->trayMenu()->findChild<QAction*>("H1")->trigger();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(exits, 0);
    form->trayIcon()->trayMenu()->findChild<QAction*>("PriceAlertsItem")->trigger();
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(exits, 0);
    form->trayIcon()->trayMenu()->findChild<QAction*>("N8")->trigger();
    EXPECT_EQ(exits, 1);
}

TEST_F(MainFormTest, MinimiseWithSessionShowsTheFloatingBar) {
    FakeFloatBar bar;
    hookFloatBar(bar);
    form->setTrayAvailable(true);
    form->show();
    form->hideToTray();
    EXPECT_FALSE(form->isVisible());
    // Positioned, shown and brought to the front, even when it was showing already.
    form->show();
    form->hideToTray();
    EXPECT_EQ(bar.shows, (QList<bool>{true, true}));
}

TEST_F(MainFormTest, SoundSwitch) {
    form->show();
    EXPECT_TRUE(form->statusBand()->soundOn());
    SkinPanel* on = panel("audopenimg");
    SkinPanel* off = panel("audcloseimg");
    EXPECT_TRUE(on->isVisible());
    EXPECT_FALSE(off->isVisible());
    click(on);
    EXPECT_FALSE(form->statusBand()->soundOn());
    EXPECT_FALSE(on->isVisible());
    EXPECT_TRUE(off->isVisible());
    EXPECT_EQ(off->geometry(), on->geometry());
    click(off);
    EXPECT_TRUE(form->statusBand()->soundOn());
    EXPECT_TRUE(on->isVisible());
    EXPECT_FALSE(off->isVisible());
}

TEST_F(MainFormTest, SoundSwitchKeptByItsOwner) {
    StatusBand* band = form->statusBand();
    bool ownerOn = true;
    int calls = 0;
    band->audopenimgClicked = [&] {
        ++calls;
        ownerOn = false;
        band->showSoundSwitch(ownerOn);
    };
    band->audcloseimgClicked = [&] {
        ++calls;
        ownerOn = true;
        band->showSoundSwitch(ownerOn);
    };
    click(panel("audopenimg"));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(form->statusBand()->soundOn());
    EXPECT_TRUE(panel("audcloseimg")->isVisible());
    click(panel("audcloseimg"));
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(form->statusBand()->soundOn());
    EXPECT_TRUE(panel("audopenimg")->isVisible());
}

TEST_F(MainFormTest, GuestPictureClickReachesTheMemberPart) {
    int clicks = 0;
    form->hooks().logIMGClick = [&clicks] { ++clicks; };
    Q_EMIT form->titleBand()->logIMG()->clicked();
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainFormTest, ResizeRestartsTheTickerWithTheNewWidthAndExitEndsIt) {
    program().sync.with([](SyncTables& t) {
        t.symbolCodes = QStringList{"A", "B", "C"};
        t.quoteTable.setValue(u"A_showname", "甲");
        t.quoteTable.setValue(u"A_BID", "1");
    });
    program().appRunning.set(true);
    RatesTicker* ticker = form->ratesTicker();
    ticker->startDrawRate();
    ASSERT_TRUE(waitUntil([&] { return ticker->currentSheetWidth() == 895; }));
    form->resize(1000, 600);
    ASSERT_TRUE(waitUntil([&] { return ticker->currentSheetWidth() == 975; }));
    EXPECT_EQ(ticker->startedCount(), 2);

    int ended = 0;
    QObject::connect(ticker, &RatesTicker::tickerEnded, ticker, [&ended] { ++ended; });
    // The window's part of the exit procedure, which has cleared appRunning before.
    program().appRunning.set(false);
    form->hideForExit();
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(waitUntil([&] { return ended == 1; }));
    EXPECT_FALSE(ticker->tickerExists());
    EXPECT_EQ(ticker->startedCount(), 2);
    // A resize after the exit procedure starts nothing either.
    form->resize(900, 600);
    EXPECT_FALSE(ticker->tickerExists());
}

TEST_F(MainFormTest, PaintsTheChrome) {
    const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (const QByteArray path = qgetenv("KOVAN_SHELL_GRAB"); !path.isEmpty())
        shot.save(QString::fromLocal8Bit(path));
    ASSERT_EQ(shot.size(), QSize(920, 585));
    const QRgb dark = qRgb(0x01, 0x3E, 0x7F), light = qRgb(0x3F, 0xA2, 0xE7);
    // Middle column: dark then light line on its left edge.
    EXPECT_EQ(shot.pixel(0, 100), dark);
    EXPECT_EQ(shot.pixel(1, 100), light);
    // Right column: dark line on its right edge.
    EXPECT_EQ(shot.pixel(919, 100), dark);
    // Status band: frame lines left, bottom and right (the strip covers the light line).
    EXPECT_EQ(shot.pixel(0, 570), dark);
    EXPECT_EQ(shot.pixel(400, 584), dark);
    EXPECT_EQ(shot.pixel(919, 570), dark);
    // Ticker band's left plate: blue, then white from (4, 4).
    EXPECT_EQ(shot.pixel(2, 535), qRgb(0x30, 0x9D, 0xE9));
    // Divider: its arrow (expanded picture) in the middle, the strip elsewhere.
    const QImage arrow = SkinImages::load("TOPIMG18").convertToFormat(QImage::Format_RGB32);
    const QImage strip = SkinImages::load("TOPIMG12").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(713 + 3, 85 + 201 + 22), arrow.pixel(3, 22));
    EXPECT_EQ(shot.pixel(713 + 3, 85 + 10), strip.pixel(3, 4));
    // Close button picture at the right end of the title bar.
    const QImage close = SkinImages::load("TOPIMG0").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(920 - 100 + 64 + 15, 9), close.pixel(15, 9));
}

TEST_F(MainFormTest, LogoCornerIsCutOutOfTheWindow) {
    const QRegion shape = form->mask();
    ASSERT_FALSE(shape.isEmpty());
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(80, 40)));
    EXPECT_TRUE(shape.contains(QPoint(919, 0)));
    EXPECT_TRUE(shape.contains(QPoint(0, 584)));
}

class StatusBandTest : public ::testing::Test {};

TEST_F(StatusBandTest, ClockAndMotto) {
    QDateTime now(QDate(2026, 12, 12), QTime(23, 59, 59));
    StatusBand band(nullptr, ClockText([&now] { return now; }));
    band.Timer1()->stop();
    band.Timer2()->stop();
    EXPECT_EQ(band.datetimelabel()->text(), "2014-03-21 15:15:16 星期一");
    band.Timer1Timer();
    EXPECT_EQ(band.datetimelabel()->text(), "2026-12-12 23:59:59 星期六");
    now = now.addSecs(1);
    band.Timer1Timer();
    EXPECT_EQ(band.datetimelabel()->text(), "2026-12-13 00:00:00 星期天");

    QStringList shown;
    for (int i = 0; i < 12; ++i) {
        band.Timer2Timer();
        shown << band.btmleftlabel()->text();
    }
    EXPECT_EQ(shown.first(), "");
    EXPECT_EQ(shown[1], "财");
    EXPECT_EQ(shown[9], "财富天下 互帮共赢");
    EXPECT_EQ(shown[10], "财富天下 互帮共赢");
    EXPECT_EQ(shown[11], "");
    EXPECT_EQ(band.btmtiplab()->text(), StatusBand::disclaimer());
}

TEST_F(StatusBandTest, TimersRunAtTheirIntervalsWhileTheBandShows) {
    StatusBand band;
    EXPECT_FALSE(band.Timer1()->isActive());
    band.show();
    EXPECT_TRUE(band.Timer1()->isActive());
    EXPECT_EQ(band.Timer1()->interval(), 1000);
    EXPECT_TRUE(band.Timer2()->isActive());
    EXPECT_EQ(band.Timer2()->interval(), 300);
    band.hide();
    EXPECT_FALSE(band.Timer1()->isActive());
    EXPECT_FALSE(band.Timer2()->isActive());
}

TEST_F(MainFormTest, HiddenToTheTrayNothingAnimates) {
    // Window shown: clock, motto, ticker and the band's picture run.
    ASSERT_TRUE(form->isVisible());
    EXPECT_TRUE(form->statusBand()->Timer1()->isActive());
    EXPECT_FALSE(form->ratesTicker()->paused());
    form->minImgClick();
    EXPECT_FALSE(form->statusBand()->Timer1()->isActive());
    EXPECT_FALSE(form->statusBand()->Timer2()->isActive());
    EXPECT_TRUE(form->ratesTicker()->paused());
    EXPECT_EQ(form->findChild<QLabel*>("Image3")->movie()->state(), QMovie::Paused);
    form->bringToFront();
    EXPECT_TRUE(form->statusBand()->Timer1()->isActive());
    EXPECT_FALSE(form->ratesTicker()->paused());
    EXPECT_EQ(form->findChild<QLabel*>("Image3")->movie()->state(), QMovie::Running);
}

} // namespace
} // namespace kovan
