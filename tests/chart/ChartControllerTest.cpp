// The chart window's logic without its widgets: init, period and style switches, layers, the
// feed's merges, mouse, wheel and keys, the cross-hair with its read-out, screenshots.

#include "ChartWindowSupport.h"

#include "chart/ChartController.h"
#include "chart/ChartGeometry.h"
#include "chart/OhlcReadout.h"
#include "core/Errors.h"

#include <QFile>
#include <QImage>

#include <functional>

#include <gtest/gtest.h>

using namespace kovan;
using namespace charttest;

namespace {

class ChartControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_env = std::make_unique<WindowEnvironment>();
        m_c = std::make_unique<ChartController>(m_env->options());
        m_c->chart().setRecordTextBoxes(true);
    }
    void TearDown() override {
        m_c.reset();
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
        test::pumpFor(10);
        m_env.reset();
    }
    // A window on XAGRMB H1 with `n` bars of history.
    void open(int n = 1000) {
        if (n > 0)
            m_env->writeHistory("XAGRMB", "H1", hourlyBars(n));
        m_c->init(WindowEnvironment::instrument(), WindowEnvironment::style(),
                  program().session.sessInfoText, QStringLiteral("KEY1"));
    }
    // A fresh window in a fresh program folder, for cases that each need their own.
    void reopenEmpty() {
        m_c.reset();
        ASSERT_TRUE(test::waitUntil([] { return WorkerThread::liveCount() == 0; }, 10000));
        m_env = std::make_unique<WindowEnvironment>();
        m_c = std::make_unique<ChartController>(m_env->options());
        m_c->chart().setRecordTextBoxes(true);
    }
    // Cross-hair mode with the pointer at (x, y) over the view.
    void crossAt(int x, int y) {
        m_c->setHandStyle(1);
        m_c->mouseMove(x, y);
    }
    quint64 frames() const { return m_c->view().publishCount(); }
    bool textShown(const QString& prefix) const {
        for (const auto& t : m_c->chart().publishedTextBoxes())
            if (t.text.startsWith(prefix))
                return true;
        return false;
    }

    std::unique_ptr<WindowEnvironment> m_env;
    std::unique_ptr<ChartController> m_c;
};

// Records what a signal carried.
template <typename T> struct Recorder {
    QList<T> values;
    int count() const { return int(values.size()); }
};
template <typename Signal, typename T>
void record(ChartController* c, Signal signal, Recorder<T>& r) {
    QObject::connect(c, signal, [&r](const T& v) { r.values.append(v); });
}

ChartReply reply(std::vector<ChartReplyBar> bars, double bid) {
    ChartReply r;
    r.parsed = true;
    r.status = 1;
    r.count = qint64(bars.size());
    r.data = std::move(bars);
    r.BID = bid;
    return r;
}

} // namespace

TEST_F(ChartControllerTest, InitLoadsHistoryShowsCaptionPanelAndStartsTheFeed) {
    Recorder<QUrl> panel;
    Recorder<QString> caption;
    record(m_c.get(), &ChartController::panelRequested, panel);
    record(m_c.get(), &ChartController::captionChanged, caption);
    open(300);
    EXPECT_EQ(m_c->caption(), QStringLiteral("朗鸥策略行情走势图 现货白银 H1"));
    ASSERT_EQ(caption.count(), 1);
    ASSERT_EQ(panel.count(), 1);
    // The session id is a path segment, the signal and the key query values.
    EXPECT_EQ(m_c->panelUrl().toString(QUrl::FullyEncoded),
              "http://127.0.0.1:8802/tools/chartpanel/sess%2F1%20x/?signID=30121&ckey=KEY1");
    EXPECT_EQ(m_c->PData()->symbol, "XAGRMB");
    EXPECT_EQ(m_c->PData()->period, "H1");
    EXPECT_EQ(m_c->PData()->datalist.size(), 300u);
    EXPECT_TRUE(m_c->chart().FDFulled()); // the history bars, not the waiting message
    EXPECT_TRUE(m_c->chart().ohlcReadout());
    EXPECT_TRUE(m_c->isRuning());
    EXPECT_EQ(m_c->CFHKey(), "KEY1");
}

TEST_F(ChartControllerTest, InitWithoutHistoryShowsTheWaitingMessage) {
    open(0);
    EXPECT_FALSE(m_c->chart().FDFulled());
    EXPECT_TRUE(textShown(QStringLiteral("正在载入...")));
}

TEST_F(ChartControllerTest, InitRefusesWhatItCannotUseAndStartsNothing) {
    const QString sess = program().session.sessInfoText;
    QJsonObject good = parseJsonObject(WindowEnvironment::instrument());
    auto with = [&good](const char* key, const QString& value) {
        QJsonObject o = good;
        o.insert(QString::fromLatin1(key), value);
        return compactJson(o);
    };
    struct Case {
        const char* name;
        QString syms, styles, sess;
    };
    const Case cases[] = {
        {"instrument not JSON", "{", WindowEnvironment::style(), sess},
        {"style not JSON", WindowEnvironment::instrument(), "red", sess},
        {"session not JSON", WindowEnvironment::instrument(), WindowEnvironment::style(), "x"},
        {"symbol of 16", with("symbol", "ABCDEFGHIJKLMNOP"), WindowEnvironment::style(), sess},
        {"period with a slash", with("period", "../H1"), WindowEnvironment::style(), sess},
        {"data server with a path", with("baseurl", "evil.example/x?"), WindowEnvironment::style(),
         sess},
        {"page server with a user", with("appurl", "me@evil.example:80"),
         WindowEnvironment::style(), sess},
    };
    Recorder<QUrl> panel;
    record(m_c.get(), &ChartController::panelRequested, panel);
    for (const Case& c : cases) {
        EXPECT_THROW(m_c->init(c.syms, c.styles, c.sess, "K"), ConversionError) << c.name;
        EXPECT_FALSE(m_c->isRuning()) << c.name;
    }
    EXPECT_EQ(panel.count(), 0);
    EXPECT_EQ(m_c->view().publishCount(), 0u);
}

TEST_F(ChartControllerTest, UnreadableHistoryKeepsTheWindowFromStarting) {
    QDir().mkpath(
        historyFilePath(program().paths.programDir, "XAGRMB", "H1")); // a folder, not a file
    EXPECT_THROW(m_c->init(WindowEnvironment::instrument(), WindowEnvironment::style(),
                           program().session.sessInfoText, "K"),
                 FileOpenError);
    EXPECT_FALSE(m_c->isRuning());
}

TEST_F(ChartControllerTest, SetPeriodResultsAndCaptions) {
    open(500);
    m_env->writeHistory("XAGRMB", "m5", hourlyBars(40, 7000));
    const quint64 before = frames();
    EXPECT_EQ(m_c->setPeriod("H1"), "0"); // the current period: only a redraw
    EXPECT_EQ(frames(), before + 1);
    EXPECT_EQ(m_c->caption(), QStringLiteral("朗鸥策略行情走势图 现货白银 H1"));

    m_c->chart().scrollTo(10);
    m_c->PData()->datalist.push_back({1700000000 + 500 * 3600, 1, 2, 1, 2}); // merged meanwhile
    EXPECT_EQ(m_c->setPeriod("m5"), "1");
    EXPECT_EQ(m_c->caption(), QStringLiteral("朗鸥策略行情走势图 现货白银 M5"));
    EXPECT_EQ(jsonText(m_c->SymbolInfo(), u"period"), "m5");
    EXPECT_EQ(m_c->PData()->period, "m5");
    EXPECT_FALSE(m_c->PData()->locked);
    EXPECT_TRUE(m_c->chart().AutoMove());
    // The period left was saved with what it had; the new one came from its own file.
    EXPECT_EQ(m_env->readHistory("XAGRMB", "H1").size(), 501u);
    EXPECT_EQ(m_c->PData()->datalist.size(), 40u);
    ASSERT_NE(m_c->feed().CPThread(), nullptr);
    EXPECT_EQ(m_c->feed().CPThread()->target().period, "m5");
    EXPECT_EQ(m_c->feed().CPThread()->target().lastDl, 1700000000 + 39 * 3600);

    // A period without bars shows the waiting message until the feed brings some.
    EXPECT_EQ(m_c->setPeriod("D1"), "1");
    EXPECT_FALSE(m_c->chart().FDFulled());
    EXPECT_TRUE(textShown(QStringLiteral("正在载入...")));
    EXPECT_EQ(m_c->feed().CPThread()->target().lastDl, std::nullopt);

    EXPECT_THROW(m_c->setPeriod("ABCDEFGHIJKLMNOP"), ConversionError);
    EXPECT_EQ(m_c->PData()->period, "D1");

    // Leaving a period before its first bars arrived leaves its file alone.
    m_env->writeHistory("XAGRMB", "D1", hourlyBars(5));
    EXPECT_EQ(m_c->setPeriod("H1"), "1");
    EXPECT_EQ(m_env->readHistory("XAGRMB", "D1").size(), 5u);
}

TEST_F(ChartControllerTest, SetChartStyleKeepsTheOtherKeysAndReturnsToFollowMode) {
    open();
    m_c->chart().scrollTo(100);
    const QJsonObject before = m_c->StyleInfo();
    EXPECT_EQ(m_c->setChartStyle(R"({"kwidth":5})"), "1");
    const QJsonObject after = m_c->StyleInfo();
    EXPECT_EQ(after.value("kwidth").toString(), "5"); // numbers are stored as their text
    for (const QString& key : before.keys())
        if (key != u"kwidth") {
            EXPECT_EQ(after.value(key), before.value(key)) << key.toStdString();
        }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_TRUE(m_c->chart().AutoMove());
    EXPECT_EQ(m_c->chart().frameLayout().step, 6); // 5-pixel bodies, 1-pixel gaps

    EXPECT_THROW(m_c->setChartStyle("[1]"), ConversionError);
    EXPECT_THROW(m_c->setChartStyle("kwidth=3"), ConversionError);
    EXPECT_EQ(m_c->StyleInfo(), after);
}

TEST_F(ChartControllerTest, DragScrollsOnlyOnceAWholeSlotIsCovered) {
    open();
    m_c->chart().scrollTo(500); // back in the history, where a slot's drag can scroll
    const int first = 500;
    m_c->mouseDown(Qt::LeftButton, 100, 50);
    EXPECT_TRUE(m_c->dragging());
    m_c->mouseMove(103, 50); // 3 px, one slot is 4
    EXPECT_EQ(m_c->chart().FDNInx(), first);
    EXPECT_EQ(m_c->dragAnchor().x(), 100);
    m_c->mouseMove(105, 52); // 5 px from the anchor: one slot towards older bars
    EXPECT_EQ(m_c->chart().FDNInx(), first - 1);
    EXPECT_FALSE(m_c->chart().AutoMove());
    EXPECT_EQ(m_c->dragAnchor().x(), 105);
    m_c->mouseMove(108, 52); // 3 px from the new anchor
    EXPECT_EQ(m_c->chart().FDNInx(), first - 1);
    m_c->mouseUp();
    EXPECT_FALSE(m_c->dragging());
    EXPECT_EQ(m_c->dragAnchor(), QPoint(0, 0));
    m_c->mouseMove(200, 50); // no button: nothing
    EXPECT_EQ(m_c->chart().FDNInx(), first - 1);
}

TEST_F(ChartControllerTest, WheelScrollsOnlyInsideTheView) {
    const QPoint lt(100, 50);
    const QSize view(532, 500);
    struct Case {
        QPoint at;
        bool inside;
    };
    const Case cases[] = {
        {{300, 300}, true},  {{110, 300}, false}, {{111, 300}, true}, {{631, 300}, true},
        {{632, 300}, false}, {{700, 300}, false}, // over the side panel
        {{300, 70}, false},  {{300, 71}, true},   {{300, 549}, true}, {{300, 550}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChartController::wheelInView(c.at, lt, view), c.inside)
            << c.at.x() << "," << c.at.y();

    open();
    const int first = m_c->chart().FDNInx();
    EXPECT_FALSE(m_c->wheel({700, 300}, lt, -120));
    EXPECT_EQ(m_c->chart().FDNInx(), first);
    // Down: round(0.3 × 532) = 160 px, 40 slots towards older bars.
    EXPECT_TRUE(m_c->wheel({300, 300}, lt, -120));
    EXPECT_EQ(m_c->chart().FDNInx(), first - 40);
    EXPECT_TRUE(m_c->wheel({300, 300}, lt, -120));
    EXPECT_EQ(m_c->chart().FDNInx(), first - 80);
    EXPECT_TRUE(m_c->wheel({300, 300}, lt, 120)); // up: towards newer bars
    EXPECT_EQ(m_c->chart().FDNInx(), first - 40);
    EXPECT_FALSE(m_c->wheel({300, 300}, lt, 120)); // not past the newest bars
    EXPECT_EQ(m_c->chart().FDNInx(), first - 40);
}

TEST_F(ChartControllerTest, ArrowKeysScrollOneSlotAndEndFollowsAgain) {
    open();
    const int follow = m_c->chart().FDNInx();
    m_c->chart().scrollTo(500);
    const int first = 500;
    EXPECT_TRUE(m_c->keyPress(Qt::Key_Left));
    EXPECT_EQ(m_c->chart().FDNInx(), first - 1);
    EXPECT_TRUE(m_c->keyPress(Qt::Key_Left));
    EXPECT_TRUE(m_c->keyPress(Qt::Key_Right));
    EXPECT_EQ(m_c->chart().FDNInx(), first - 1);
    EXPECT_FALSE(m_c->chart().AutoMove());
    EXPECT_TRUE(m_c->keyPress(Qt::Key_End));
    EXPECT_TRUE(m_c->chart().AutoMove());
    EXPECT_EQ(m_c->chart().FDNInx(), follow);
    EXPECT_FALSE(m_c->keyPress(Qt::Key_A));
}

TEST_F(ChartControllerTest, CrossHairShowsTheBarUnderItAndRightClickLeavesIt) {
    open(200);
    Recorder<QString> scripts;
    Recorder<bool> modes;
    record(m_c.get(), &ChartController::runScriptRequested, scripts);
    record(m_c.get(), &ChartController::crossModeChanged, modes);
    m_c->mouseDown(Qt::RightButton, 50, 50); // normal mode: nothing
    EXPECT_EQ(scripts.count(), 0);
    EXPECT_EQ(m_c->setHandStyle(1), "1");
    EXPECT_TRUE(m_c->crossMode());
    ASSERT_EQ(modes.count(), 1);

    const quint64 before = frames();
    const int x = 41; // slot 10 (step 4, rounded)
    m_c->mouseMove(x, 100);
    EXPECT_EQ(frames(), before + 1); // the cross: one copy, not a frame
    const auto& bars = m_c->PData()->datalist;
    const int i = m_c->chart().FELineST() + chartgeo::roundEven(double(x) / 4);
    ASSERT_LT(i, int(bars.size()));
    EXPECT_TRUE(textShown(ohlcReadoutText(bars[size_t(i)], 0)));

    m_c->mouseDown(Qt::RightButton, x, 100);
    EXPECT_FALSE(m_c->crossMode());
    ASSERT_EQ(scripts.count(), 1);
    EXPECT_EQ(scripts.values[0], "resetHS();");
    EXPECT_FALSE(textShown(QStringLiteral("2023-"))); // the read-out went with the cross
    m_c->mouseMove(60, 60);
    EXPECT_EQ(frames(), before + 2); // no cross in normal mode
}

// In cross-hair mode every new frame gets the cross back where the pointer last was: the frame,
// then one copy of it with the cross on top. Not while the left button drags, not before the
// pointer has moved over the view, and never in normal mode.
TEST_F(ChartControllerTest, EveryNewFrameGetsTheCrossBackWhereThePointerWas) {
    open(1000);
    QString layer;
    qint64 next = 1700000000 + 1000 * 3600;
    const QPoint lt(100, 50);
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"a new bar",
         [&] {
             m_c->mergeReply(reply({{next, 5600, 5601, 5599, 5602}}, 5601), "XAGRMB", "H1");
             next += 3600;
         }},
        {"a new bid",
         [&] {
             m_c->mergeReply(reply({{next - 3600, 5600, 5601, 5599, 5602}}, 5590), "XAGRMB", "H1");
         }},
        {"a style", [&] { m_c->setChartStyle(R"({"kwidth":3})"); }},
        {"a layer added",
         [&] {
             layer = m_c->addExtend(
                 1, R"({"type":"MA","MALIST":[{"MAPED":5,"color":"#FF0000","linew":1}]})");
         }},
        {"a layer removed", [&] { m_c->removeLayer(layer); }},
        {"the wheel",
         [&] {
             EXPECT_TRUE(m_c->wheel({300, 300}, lt, -120));
         }},
        {"an arrow key", [&] { EXPECT_TRUE(m_c->keyPress(Qt::Key_Left)); }},
        {"End", [&] { m_c->keyPress(Qt::Key_End); }},
        {"a resize", [&] { m_c->viewResized(QSize(600, 450)); }},
        {"the same period", [&] { EXPECT_EQ(m_c->setPeriod("H1"), "0"); }},
        {"syncDraw", [&] { m_c->syncDraw(); }},
    };
    m_c->setHandStyle(1);
    quint64 before = frames();
    m_c->syncDraw(); // the pointer has not been over the view yet
    EXPECT_EQ(frames(), before + 1);
    m_c->mouseMove(41, 100);
    for (const Case& c : cases) {
        before = frames();
        c.change();
        EXPECT_EQ(frames(), before + 2) << c.name;
        EXPECT_TRUE(textShown(QStringLiteral("2023-"))) << c.name; // the bar read-out
        const QImage shown = m_c->view().composite();
        m_c->chart().drawCross(41, 100);
        EXPECT_EQ(m_c->view().composite(), shown) << c.name;
    }

    m_c->mouseDown(Qt::LeftButton, 200, 100);
    before = frames();
    m_c->mouseMove(240, 100); // ten slots towards older bars
    EXPECT_EQ(frames(), before + 1);
    EXPECT_FALSE(textShown(QStringLiteral("2023-")));
    m_c->mouseUp();

    before = frames();
    m_c->setHandStyle(0); // the cross goes: one copy without it
    EXPECT_EQ(frames(), before + 1);
    EXPECT_FALSE(textShown(QStringLiteral("2023-")));
    m_c->syncDraw();
    EXPECT_EQ(frames(), before + 2);
}

// A bad style colour fails the drawing that reads it, and only that one: the waiting message
// reads back and yangxian and passes the error on; a full frame is abandoned and the last
// picture stays; the cross-hair reads front and passes the error on. The style keeps the change
// in every case.
TEST_F(ChartControllerTest, ABadStyleColourFailsTheDrawingThatReadsIt) {
    struct Case {
        const char* key;
        int bars;
        bool cross;
        bool throws;
        int published; // pictures published by the style change
    };
    const Case cases[] = {
        {"back", 0, false, true, 0},        {"yangxian", 0, false, true, 0},
        {"yinzhu", 0, false, false, 1},     {"broken", 300, false, false, 0},
        {"front", 300, false, false, 0},    {"front", 300, true, true, 0},
        {"back", 300, true, false, 1},      {"yinzhu", 0, true, false, 1},
        {"gridline", 300, false, false, 1},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.key) + ", " + std::to_string(c.bars) + " bars" +
                                 (c.cross ? ", cross" : "");
        reopenEmpty();
        open(c.bars);
        if (c.cross)
            crossAt(41, 100);
        const quint64 before = frames();
        const QImage shown = m_c->view().composite();
        const QString change = QStringLiteral(R"({"%1":"red"})").arg(QLatin1String(c.key));
        if (c.throws) {
            EXPECT_THROW(m_c->setChartStyle(change), InvalidColorError) << name;
        } else {
            EXPECT_EQ(m_c->setChartStyle(change), "1") << name;
        }
        EXPECT_EQ(frames(), before + c.published) << name;
        if (c.published == 0) {
            EXPECT_EQ(m_c->view().composite(), shown) << name;
        }
        EXPECT_EQ(jsonText(m_c->StyleInfo(), QString::fromLatin1(c.key)), "red") << name;
        if (c.cross && c.bars > 0) {
            bool moveThrew = false;
            try {
                m_c->mouseMove(50, 100);
            } catch (const InvalidColorError&) {
                moveThrew = true;
            }
            EXPECT_EQ(moveThrew, c.throws) << name;
        }
    }

    // The style of init: the waiting message passes the error on, a frame is abandoned.
    for (const int bars : {0, 300}) {
        reopenEmpty();
        if (bars > 0)
            m_env->writeHistory("XAGRMB", "H1", hourlyBars(bars));
        QJsonObject style = ChartLauncher::defaultStyle();
        style.insert(QStringLiteral("back"), QStringLiteral("red"));
        auto init = [&] {
            m_c->init(WindowEnvironment::instrument(), compactJson(style),
                      program().session.sessInfoText, QStringLiteral("K"));
        };
        if (bars == 0) {
            EXPECT_THROW(init(), InvalidColorError);
        } else {
            EXPECT_NO_THROW(init());
        }
        EXPECT_EQ(frames(), 0u) << bars;
    }
}

TEST_F(ChartControllerTest, AMergeDrawsAtMostOneFrame) {
    open(100);
    const auto& s = m_c->PData()->datalist;
    const qint64 last = s.back().dl;
    const double close = s.back().close;
    quint64 f = frames();

    // Only the last bar changed, and the price with it: one frame.
    auto m = m_c->mergeReply(reply({{last, close, close + 9, close - 3, close + 8}}, close + 8),
                             "XAGRMB", "H1");
    EXPECT_TRUE(m.outcome.merged);
    EXPECT_FALSE(m.outcome.save);
    EXPECT_EQ(frames(), f + 1);
    EXPECT_EQ(m_c->chart().Price(), float(close + 8));

    // The same again: nothing to draw.
    f = frames();
    m = m_c->mergeReply(reply({{last, close, close + 9, close - 3, close + 8}}, close + 8),
                        "XAGRMB", "H1");
    EXPECT_TRUE(m.outcome.merged);
    EXPECT_EQ(frames(), f);

    // Only the bid moved: one frame.
    m = m_c->mergeReply(reply({{last, close, close + 9, close - 3, close + 8}}, close + 7),
                        "XAGRMB", "H1");
    EXPECT_EQ(frames(), f + 1);

    // A new bar: one frame, and the history is due with the whole series.
    f = frames();
    m = m_c->mergeReply(reply({{last + 3600, 1, 2, 0.5, 1.5}}, 1.5), "XAGRMB", "H1");
    EXPECT_EQ(frames(), f + 1);
    EXPECT_TRUE(m.outcome.save);
    EXPECT_EQ(m.outcome.historyPath, historyFilePath(program().paths.programDir, "XAGRMB", "H1"));
    EXPECT_EQ(m.outcome.bars.size(), 101u);
    EXPECT_TRUE(m.outcome.bars.sharesWith(m_c->PData()->datalist)); // a snapshot, not a copy
    EXPECT_EQ(m.lastDl, qint32(last + 3600));

    // Requested for another period, or while locked: not merged, not drawn.
    f = frames();
    EXPECT_FALSE(
        m_c->mergeReply(reply({{last + 7200, 1, 2, 1, 2}}, 9), "XAGRMB", "M5").outcome.merged);
    m_c->PData()->locked = true;
    EXPECT_FALSE(
        m_c->mergeReply(reply({{last + 7200, 1, 2, 1, 2}}, 9), "XAGRMB", "H1").outcome.merged);
    m_c->PData()->locked = false;
    EXPECT_EQ(frames(), f);
    EXPECT_EQ(m_c->PData()->datalist.size(), 101u);
}

TEST_F(ChartControllerTest, AWindowAwayDrawsNothingAndCatchesUpInOneFrame) {
    open(100);
    const qint64 last = m_c->PData()->datalist.back().dl;
    const double close = m_c->PData()->datalist.back().close;
    m_c->setShown(false);
    const quint64 f = frames();
    // The feed goes on merging while the window is minimised: bars and bid are current...
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(
            m_c->mergeReply(reply({{last, close, close + i, close - i, close + i}}, close + i),
                            "XAGRMB", "H1")
                .outcome.merged);
    auto m = m_c->mergeReply(reply({{last + 3600, 1, 2, 0.5, 1.5}}, 1.5), "XAGRMB", "H1");
    EXPECT_TRUE(m.outcome.save); // the history file keeps its pace too
    EXPECT_EQ(m_c->PData()->datalist.size(), 101u);
    // ...but nothing is drawn.
    EXPECT_EQ(frames(), f);
    m_c->setShown(false);
    EXPECT_EQ(frames(), f);

    // Back on screen: one frame for all of it, the same as drawn in full now.
    m_c->setShown(true);
    EXPECT_EQ(frames(), f + 1);
    const QImage shown = m_c->view().composite();
    m_c->syncDraw();
    EXPECT_EQ(m_c->view().composite(), shown);
    m_c->setShown(true);
    EXPECT_EQ(frames(), f + 2); // nothing pending: shown again draws nothing more
}

TEST_F(ChartControllerTest, AMovedLastBarShowsOnlyItsPartOfTheView) {
    open(100);
    const qint64 last = m_c->PData()->datalist.back().dl;
    const double close = m_c->PData()->datalist.back().close;
    // Within the bar's own high and low: the scale stays.
    m_c->mergeReply(reply({{last, close, close + 5, close - 5, close}}, close), "XAGRMB", "H1");
    m_c->mergeReply(reply({{last, close, close + 5, close - 5, close + 1}}, close + 1), "XAGRMB",
                    "H1");
    const QRegion changed = m_c->chart().lastChange();
    EXPECT_FALSE(changed.isEmpty());
    const QRegion view(QRect(QPoint(0, 0), m_c->view().size()));
    EXPECT_EQ(changed & view, changed);
    EXPECT_NE(changed, view);
    // A new bar moves every bar one slot: the whole view.
    m_c->mergeReply(reply({{last + 3600, close, close, close, close}}, close), "XAGRMB", "H1");
    EXPECT_TRUE(m_c->chart().lastChange().isEmpty());
}

TEST_F(ChartControllerTest, LayersAndChartInfo) {
    open();
    const quint64 f = frames();
    const QString key =
        m_c->addExtend(1, R"({"type":"MA","MALIST":[{"MAPED":5,"color":"#FF0000","linew":1}]})");
    EXPECT_EQ(key.size(), 8);
    EXPECT_EQ(frames(), f + 1);
    ASSERT_EQ(m_c->chart().IndexLayers().size(), 1u);
    EXPECT_THROW(m_c->addExtend(1, "{"), ConversionError);
    EXPECT_EQ(m_c->removeLayer(key), "1");
    EXPECT_TRUE(m_c->chart().IndexLayers().empty());
    EXPECT_EQ(m_c->removeLayer("NOSUCHKY"), "1");
    EXPECT_EQ(m_c->getChartInfo(),
              R"({"styleinfo":{"back":"#000000","broken":"#FFFFFF","front":"#FFFFFF",)"
              R"("gridline":"","kmargin":1,"kwidth":3,"linetype":0,"yangxian":"#FF0000",)"
              R"("yangzhu":"#FF0000","yinxian":"#00FF00","yinzhu":"#00FF00"}})");
}

TEST_F(ChartControllerTest, ScreenshotIsAPngOfTheViewThatNeverOverwritesAnother) {
    open();
    const QDateTime when(QDate(2025, 1, 31), QTime(8, 5, 3));
    const QString first = m_c->screenshot(when);
    EXPECT_EQ(first, program().paths.programDir + "screenshots/XAGRMB_H1_20250131-080503.png");
    const QImage picture(first);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(532, 500));
    const QString second = m_c->screenshot(when);
    EXPECT_EQ(second, program().paths.programDir + "screenshots/XAGRMB_H1_20250131-080503-2.png");
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
}

TEST_F(ChartControllerTest, ResizeDrawsOnlyForANewSize) {
    open();
    const quint64 f = frames();
    m_c->viewResized(QSize(532, 500));
    EXPECT_EQ(frames(), f);
    m_c->viewResized(QSize(700, 400));
    EXPECT_EQ(frames(), f + 1);
    EXPECT_EQ(m_c->chart().FMWidth(), 700);
}

TEST_F(ChartControllerTest, CloseStopsTheFeedForGood) {
    open();
    EXPECT_TRUE(m_c->isRuning());
    m_c->close();
    EXPECT_FALSE(m_c->isRuning());
    ASSERT_TRUE(test::waitUntil([&] { return m_c->feed().CPThread() == nullptr; }));
    EXPECT_EQ(m_c->feed().feedsStarted(), 1);
}
