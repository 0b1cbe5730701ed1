// The floating bar bound to its rules: place, height and shape, timers only while showing,
// the instant-trade strip, its links, pinning, the marker and the ticker panels.

#include "notify/TtopFloatForm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QWindow>

#include <gtest/gtest.h>

namespace kovan {
namespace {

class TtopFloatFormTest : public ::testing::Test {
protected:
    TtopFloatFormTest() : bar(news, signals) {
        signals = QJsonObject{{"itemcount", 0}, {"items", QJsonArray()}};
        bar.setScreenSource([] { return QRect(0, 0, 1920, 1080); });
        bar.setClock([] { return qint64(1'700'000'000); });
        bar.setTargets({[this](const QString& t, const QString& p, int stay, const QString& d) {
                            calls << QStringLiteral("page|%1|%2|%3|%4").arg(t, p).arg(stay).arg(d);
                        },
                        [this] { return mainVisible; },
                        [this] {
                            calls << "show";
                            mainVisible = true;
                        },
                        [this](const QString& key) { calls << "switch|" + key; },
                        [] { return QStringLiteral("SID"); }});
    }
    QString text(const char* name) { return bar.findChild<QLabel*>(name)->text(); }
    QWidget* child(const char* name) { return bar.findChild<QWidget*>(name); }
    void hold(const char* signalJson) {
        QJsonArray items = signals.value("items").toArray();
        items.append(QJsonDocument::fromJson(signalJson).object());
        signals = QJsonObject{{"itemcount", items.size()}, {"items", items}};
    }

    Guarded<QList<topInfoRuntimeRecord>> news;
    QJsonObject signals;
    TtopFloatForm bar;
    QStringList calls;
    bool mainVisible = false;
};

TEST_F(TtopFloatFormTest, ToolWindowPlacedBySetPos) {
    EXPECT_TRUE(bar.windowFlags() & Qt::Tool);
    EXPECT_TRUE(bar.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(bar.windowFlags() & Qt::WindowStaysOnTopHint);
    bar.setPos();
    EXPECT_EQ(bar.pos(), QPoint(1168, 5));
    EXPECT_EQ(bar.width(), 632);
    EXPECT_EQ(text("amilabel"), "--");
    EXPECT_EQ(bar.findChild<QLabel*>("Label2")->toolTip(), "双击后始终前置显示");
    EXPECT_EQ(bar.findChild<QLabel*>("Image5")->toolTip(), "关闭浮窗");
}

TEST_F(TtopFloatFormTest, HeightFollowsTheCursorWithANewShape) {
    bar.setPos();
    bar.show();
    bar.Timer1Timer(QPoint(10, 600));
    EXPECT_EQ(bar.height(), 33);
    EXPECT_FALSE(bar.mask().contains(QPoint(300, 40)));
    EXPECT_TRUE(bar.mask().contains(QPoint(300, 20)));
    bar.Timer1Timer(QPoint(1500, 20));
    EXPECT_EQ(bar.height(), 75);
    EXPECT_TRUE(bar.mask().contains(QPoint(300, 60)));
    EXPECT_FALSE(bar.mask().contains(QPoint(2, 2)));
}

TEST_F(TtopFloatFormTest, TimersRunOnlyWhileShowingAndTheTickerResumesWhereItStood) {
    news.with([](auto& l) {
        l.append({1, "rdnt", 3, "一", 0});
        l.append({2, "rdnt", 1, "二", 0});
    });
    EXPECT_FALSE(bar.timer1().isActive() || bar.timer2().isActive() || bar.amiTimer().isActive());
    bar.show();
    EXPECT_TRUE(bar.timer1().isActive());
    EXPECT_TRUE(bar.timer2().isActive());
    EXPECT_EQ(bar.timer1().interval(), 500);
    EXPECT_EQ(bar.timer2().interval(), 100);
    ASSERT_TRUE(bar.amiTimer().isActive());
    // Run the ticker into its ten-second stay.
    for (int i = 0; i < 10 && bar.ticker().nowNI() == 0; ++i)
        bar.amiTick();
    ASSERT_EQ(bar.ticker().nowNI(), 1);
    EXPECT_GT(bar.amiTimer().remainingTime(), 9000);
    bar.hide();
    EXPECT_FALSE(bar.timer1().isActive() || bar.timer2().isActive() || bar.amiTimer().isActive());
    bar.show();
    EXPECT_TRUE(bar.amiTimer().isActive());
    EXPECT_GT(bar.amiTimer().remainingTime(), 9000); // the stay goes on, no new scroll
    EXPECT_EQ(bar.ticker().nowNI(), 1);
    bar.Image5Click();
    EXPECT_FALSE(bar.isVisible());
    EXPECT_FALSE(bar.timer1().isActive() || bar.timer2().isActive() || bar.amiTimer().isActive());
}

TEST_F(TtopFloatFormTest, SpinnerTurns) {
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        bar.Timer2Timer();
        shown << text("amilabel");
    }
    EXPECT_EQ(shown, (QStringList{"\\", "|", "/", "--"}));
}

TEST_F(TtopFloatFormTest, StripShowsTheFirstHeldSignal) {
    hold(R"({"id":30126,"postype":"sell stop","symname":"现货铝","openprice":"18420",
             "tp":18150,"sl":0,"cddl":"13:40"})");
    hold(R"({"id":2,"postype":"BUY","symname":"other"})");
    bar.Label5Click();
    EXPECT_EQ(text("to_postype"), "低位杀跌");
    EXPECT_EQ(text("to_sym"), "现货铝");
    EXPECT_EQ(text("to_price"), "18420");
    EXPECT_EQ(text("to_dlstr"), "13:40");
    EXPECT_EQ(text("to_sl"), "--");
    EXPECT_EQ(text("to_tp"), "18150");
    EXPECT_TRUE(child("dsell")->isVisibleTo(&bar));
    EXPECT_FALSE(child("dbuy")->isVisibleTo(&bar));
    EXPECT_EQ(bar.shownSignalId(), 30126);

    bar.Label17Click();
    EXPECT_EQ(calls, (QStringList{"show", "page|交易信号|signinfo/SID/30126|0|1"}));
}

TEST_F(TtopFloatFormTest, EmptySignalsChangeNothingAndDetailsOnlyShowTheMainWindow) {
    hold(R"({"id":5,"postype":"BUY","symname":"铜"})");
    bar.Label5Click();
    signals = QJsonObject{{"itemcount", 0}, {"items", QJsonArray()}};
    bar.Label5Click();
    EXPECT_EQ(text("to_sym"), "铜");
    EXPECT_EQ(bar.shownSignalId(), 0);
    bar.Label17Click();
    EXPECT_EQ(calls, QStringList{"show"});
}

TEST_F(TtopFloatFormTest, MoreSwitchesToSignalsOnlyWhenTheMainWindowWasHidden) {
    mainVisible = true;
    bar.Label18Click();
    bar.Image8Click();
    EXPECT_TRUE(calls.isEmpty());
    mainVisible = false;
    bar.Label18Click();
    EXPECT_EQ(calls, (QStringList{"show", "switch|sg"}));
    calls.clear();
    mainVisible = false;
    bar.Image8Click();
    EXPECT_EQ(calls, QStringList{"show"});
}

TEST_F(TtopFloatFormTest, DoubleClickPinsAndUnpinsWithoutMoving) {
    bar.setPos();
    bar.show();
    const QRect before = bar.geometry();
    const WId id = bar.winId();
    bar.Label2DblClick();
    EXPECT_TRUE(bar.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(bar.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(bar.winId(), id); // the same native window
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.findChild<QLabel*>("Label2")->toolTip(), "双击后取消前置显示");
    EXPECT_EQ(bar.geometry(), before);
    bar.Label2DblClick();
    EXPECT_FALSE(bar.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(bar.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(bar.winId(), id);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.findChild<QLabel*>("Label2")->toolTip(), "双击后始终前置显示");
    EXPECT_EQ(bar.geometry(), before);
    EXPECT_TRUE(bar.windowFlags() & Qt::Tool);
}

TEST_F(TtopFloatFormTest, MarkerTogglesTheFolderPicture) {
    auto* image = bar.findChild<QLabel*>("Image3");
    const QImage closed = image->pixmap().toImage();
    ASSERT_FALSE(closed.isNull());
    bar.Image3DblClick();
    EXPECT_TRUE(bar.state().marker());
    EXPECT_NE(image->pixmap().toImage(), closed);
    bar.Image3DblClick();
    EXPECT_FALSE(bar.state().marker());
    EXPECT_EQ(image->pixmap().toImage(), closed);
}

TEST_F(TtopFloatFormTest, TickerPanelsTakeStarsTitlesAndClicks) {
    news.with([](auto& l) {
        l.append({7, "newtips", 3, "三星文章", 0});
        l.append({8, "rdnt", 7, "一星快讯", 0});
    });
    for (int i = 0; i < 10 && bar.ticker().nowNI() == 0; ++i)
        bar.amiTick();
    // Item 0 scrolled in on panel 2.
    EXPECT_EQ(child("ampan2")->y(), 0);
    EXPECT_EQ(child("ampan1")->y(), 16);
    EXPECT_EQ(child("amimg2")->geometry(), QRect(2, 0, 48, 16));
    EXPECT_EQ(child("amtit2")->geometry(), QRect(58, 0, 402, 16));
    EXPECT_EQ(text("amtit2"), "三星文章");
    bar.ampan2Click();
    EXPECT_EQ(calls, (QStringList{"show", "page|三星文章|artview/SID/7|0|1"}));
    calls.clear();
    for (int i = 0; i < 10 && bar.ticker().nowNI() == 1; ++i)
        bar.amiTick();
    EXPECT_EQ(child("amimg1")->geometry(), QRect(2, 0, 16, 16));
    EXPECT_EQ(text("amtit1"), "一星快讯");
    mainVisible = true;
    bar.ampan1Click(); // an "rdnt" item opens nothing
    EXPECT_TRUE(calls.isEmpty());
}

} // namespace
} // namespace kovan
