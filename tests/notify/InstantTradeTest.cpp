// The instant-trade strip's texts, the notice actions, and the floating bar's rules.

#include "notify/InstantTrade.h"
#include "notify/FloatBarState.h"
#include "notify/NoticeActions.h"
#include "notify/NoticeList.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace kovan {
namespace {

QJsonObject object(const char* json) {
    return QJsonDocument::fromJson(json).object();
}

QJsonObject held(const QJsonObject& signal) {
    return QJsonObject{{"itemcount", 1}, {"items", QJsonArray{signal}}};
}

TEST(InstantTrade, OrderTypesGiveTheirLabelAndArrow) {
    const struct {
        const char* postype;
        const char* label;
        bool sell;
    } cases[] = {
        {"SELL", "市价卖出", true},
        {"BUY", "市价买入", false},
        {"SELL LIMIT", "高位卖出", true},
        {"SELL STOP", "低位杀跌", true},
        {"BUY LIMIT", "低位买入", false},
        {"BUY STOP", "高位追涨", false},
        {"buy limit", "低位买入", false},
        {"sell", "市价卖出", true},
        {"HEDGE", "", false},
        {"", "", false},
        {"BUYSELL", "", true}, // any text holding SELL shows the sell arrow
    };
    for (const auto& c : cases) {
        QJsonObject s{{"id", 1}, {"postype", c.postype}};
        const std::optional<InstantTrade> t = InstantTrade::of(held(s));
        ASSERT_TRUE(t.has_value()) << c.postype;
        EXPECT_EQ(t->postype, QString::fromUtf8(c.label)) << c.postype;
        EXPECT_EQ(t->sell, c.sell) << c.postype;
    }
}

TEST(InstantTrade, FillsEveryTextFromTheFirstSignal) {
    const QJsonObject rs{{"itemcount", 2},
                         {"items", QJsonArray{object(R"({"id":30122,"postype":"SELL LIMIT",
                              "symname":"黄金美元","openprice":"1932.50","tp":1918.25,"sl":1940,
                              "cddl":"10:05"})"),
                                              object(R"({"id":9,"postype":"BUY"})")}}};
    const std::optional<InstantTrade> t = InstantTrade::of(rs);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(*t, (InstantTrade{"高位卖出", true, "黄金美元", "10:05", "1932.50", "1940", "1918.25",
                                30122}));
}

TEST(InstantTrade, SmallPricesShowAsNotSet) {
    const struct {
        const char* sl;
        const char* shown;
    } cases[] = {{"0", "--"},        {"0.05", "--"},     {"-3", "--"},   {"\"0.01\"", "--"},
                 {"0.051", "0.051"}, {"\"1.2\"", "1.2"}, {"null", "--"}, {"1918.7672", "1918.7672"},
                 {"-7.9", "--"},     {"4188", "4188"}};
    for (const auto& c : cases) {
        const QJsonObject s =
            object((std::string(R"({"id":1,"sl":)") + c.sl + R"(,"tp":)" + c.sl + "}").c_str());
        const InstantTrade t = InstantTrade::ofSignal(s);
        EXPECT_EQ(t.sl, QString::fromUtf8(c.shown)) << c.sl;
        EXPECT_EQ(t.tp, QString::fromUtf8(c.shown)) << c.sl;
    }
}

TEST(InstantTrade, NoSignalLeavesTheStripAsItIs) {
    EXPECT_FALSE(InstantTrade::of(QJsonObject{{"itemcount", 0}, {"items", QJsonArray()}}));
    EXPECT_FALSE(InstantTrade::of(
        QJsonObject{{"itemcount", 0}, {"items", QJsonArray{QJsonObject{{"id", 1}}}}}));
    EXPECT_FALSE(InstantTrade::of(QJsonObject{{"itemcount", 3}, {"items", QJsonArray()}}));
    EXPECT_FALSE(InstantTrade::of(QJsonObject{}));
}

TEST(InstantTrade, SignalWithoutKeysGivesEmptyTextsAndTheBuyArrow) {
    const InstantTrade t = InstantTrade::ofSignal(QJsonObject{});
    EXPECT_EQ(t, (InstantTrade{"", false, "", "", "", "--", "--", 0}));
}

struct ActionLog {
    QStringList calls;
    NoticeActionTargets targets() {
        return {[this](const QString& t, const QString& p, int stay, const QString& d) {
                    calls << QStringLiteral("page|%1|%2|%3|%4").arg(t, p).arg(stay).arg(d);
                },
                [this] { calls << "raise"; },
                [this](const QUrl& u) { calls << "open|" + u.toString(); },
                [this](const QString& t, const QString& u) { calls << "video|" + t + "|" + u; },
                [this](const QString& symbol) { calls << "chart|" + symbol; }};
    }
};

TEST(NoticeActions, ViewCarriesOutEachAction) {
    const struct {
        const char* viewAct;
        const char* viparam;
        QStringList calls;
    } cases[] = {
        {"viewinfo", "signinfo/S/7", {"page|详情|signinfo/S/7|3|1", "raise"}},
        {"openurl", "http://example.test/a?b=1", {"open|http://example.test/a?b=1"}},
        {"openurl", "HTTPS://example.test/", {"open|https://example.test/"}},
        {"openurl", "file:///etc/passwd", {}},
        {"openurl", "javascript:alert(1)", {}},
        {"openurl", "/usr/bin/xterm", {}},
        {"openurl", "calc.exe", {}},
        {"openurl", "http://", {}},
        {"openurl", "ftp://example.test/x", {}},
        {"video", "http://v.test/a.mp4", {"video|详情|http://v.test/a.mp4"}},
        {"video",
         R"({"url":"http://v.test/b.mp4","title":"周评"})",
         {"video|周评|http://v.test/b.mp4"}},
        {"video", "", {}},
        {"exchat", "room", {}},
        {"symbolchart", "XAU", {"chart|XAU"}}, // a triggered price alert: a chart of XAU
        {"symbolchart", "", {}},
        {"", "", {"raise"}},
        {"VIEWINFO", "x", {"raise"}}, // exact names only
        {"anything", "", {"raise"}},
    };
    for (const auto& c : cases) {
        ActionLog log;
        const rbMsgRecord n = rbMsgRecord::make("标题", "内容", c.viewAct, "详情", c.viparam, 3);
        runNoticeAction(n, log.targets());
        EXPECT_EQ(log.calls, c.calls) << c.viewAct << " " << c.viparam;
    }
}

TEST(NoticeActions, EmptyTargetsAreSkipped) {
    for (const char* act : {"viewinfo", "openurl", "video", "exchat", "symbolchart", ""})
        runNoticeAction(rbMsgRecord::make("", "", act, "", "http://x.test/", 0), {});
}

TEST(FloatBarState, SetPosOnA1920PixelScreen) {
    EXPECT_EQ(FloatBarState::setPos(QRect(0, 0, 1920, 1080)), QPoint(1168, 5));
    EXPECT_EQ(FloatBarState::setPos(QRect(1920, 0, 1280, 1024)), QPoint(1920 + 528, 5));
}

TEST(FloatBarState, HeightFollowsTheCursor) {
    FloatBarState s;
    EXPECT_EQ(s.height(), 75); // the design height until the first tick
    const QRect bar(1168, 5, 632, 75);
    EXPECT_TRUE(s.heightTick(bar, QPoint(10, 500)));
    EXPECT_EQ(s.height(), 33);
    EXPECT_FALSE(s.heightTick(QRect(1168, 5, 632, 33), QPoint(10, 500)));
    EXPECT_FALSE(s.heightTick(QRect(1168, 5, 632, 33), QPoint(1168, 20))); // on the edge
    EXPECT_TRUE(s.heightTick(QRect(1168, 5, 632, 33), QPoint(1200, 20)));
    EXPECT_EQ(s.height(), 75);
    EXPECT_FALSE(s.heightTick(QRect(1168, 5, 632, 75), QPoint(1200, 70)));
    EXPECT_TRUE(s.heightTick(QRect(1168, 5, 632, 75), QPoint(1200, 80)));
    EXPECT_EQ(s.height(), 33);
}

TEST(FloatBarState, SpinnerPinAndMarker) {
    FloatBarState s;
    QStringList frames;
    for (int i = 0; i < 5; ++i)
        frames << s.spinnerTick();
    EXPECT_EQ(frames, (QStringList{"\\", "|", "/", "--", "\\"}));
    EXPECT_EQ(s.pinHint(), "双击后始终前置显示");
    EXPECT_TRUE(s.togglePin());
    EXPECT_EQ(s.pinHint(), "双击后取消前置显示");
    EXPECT_FALSE(s.togglePin());
    EXPECT_EQ(s.pinHint(), "双击后始终前置显示");
    EXPECT_TRUE(s.toggleMarker());
    EXPECT_FALSE(s.toggleMarker());
}

TEST(FloatBarState, DraggingOnlyWhileShowingAndInside) {
    FloatBarState s;
    const QRect bar(100, 5, 632, 33);
    s.mousePress(bar, QPoint(200, 20), false);
    EXPECT_FALSE(s.dragging());
    s.mousePress(bar, QPoint(100, 20), true);
    EXPECT_FALSE(s.dragging());
    s.mousePress(bar, QPoint(200, 20), true);
    ASSERT_TRUE(s.dragging());
    EXPECT_EQ(s.mouseMove(QPoint(230, 60)), QPoint(30, 40));
    EXPECT_EQ(s.mouseMove(QPoint(225, 60)), QPoint(-5, 0));
    s.mouseRelease();
    EXPECT_EQ(s.mouseMove(QPoint(300, 300)), QPoint(0, 0));
}

} // namespace
} // namespace kovan
