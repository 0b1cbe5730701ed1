// The news ticker driven tick by tick against a recording view.

#include "notify/NewsAnimate.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kovan {
namespace {

struct Frame {
    int top1, top2;
    bool operator==(const Frame&) const = default;
};

struct Fill {
    int panel, impant;
    QString title;
    bool operator==(const Fill&) const = default;
};

class RecordingView : public NewsAnimate::View {
public:
    void setInfos(int panel, int impant, const QString& title) override {
        if (failNextFill) {
            failNextFill = false;
            throw std::runtime_error("picture missing");
        }
        fills.push_back({panel, impant, title});
    }
    void ampos(int top1, int top2) override { frames.push_back({top1, top2}); }

    std::vector<Frame> frames;
    std::vector<Fill> fills;
    bool failNextFill = false;
};

constexpr qint64 kNow = 1'700'000'000;

class NewsAnimateTest : public ::testing::Test {
protected:
    NewsAnimateTest() : ticker(list, view, [this] { return now; }) {}

    void add(qint32 id, const char* title, qint32 impant = 1, qint32 expired = 0,
             const char* type = "rdnt") {
        list.with([&](auto& l) { l.append({id, type, impant, title, expired}); });
    }
    // Ticks until the ticker waits `ms`; answers the waits seen on the way.
    std::vector<int> tickUntil(int ms) {
        std::vector<int> waits;
        for (int i = 0; i < 50; ++i) {
            waits.push_back(ticker.tick());
            if (waits.back() == ms)
                break;
        }
        return waits;
    }

    Guarded<QList<topInfoRuntimeRecord>> list;
    RecordingView view;
    qint64 now = kNow;
    NewsAnimate ticker;
};

TEST_F(NewsAnimateTest, EmptyListWaitsASecondAndTouchesNothing) {
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ticker.tick(), 1000);
    EXPECT_TRUE(view.frames.empty());
    EXPECT_TRUE(view.fills.empty());
}

TEST_F(NewsAnimateTest, ScrollFrameSequenceAndTiming) {
    add(1, "first", 3);
    add(2, "second", 2);
    // Panel 1 is in view at start: panel 2 takes item 0 and scrolls in.
    EXPECT_EQ(tickUntil(10000), (std::vector<int>{100, 100, 100, 100, 100, 10000}));
    EXPECT_EQ(view.fills, (std::vector<Fill>{{2, 3, "first"}}));
    const std::vector<Frame> scroll{{0, 16},  {-1, 15}, {-3, 13}, {-6, 10},
                                    {-10, 6}, {-15, 1}, {16, 0}};
    EXPECT_EQ(view.frames, scroll);
    EXPECT_EQ(ticker.nowNI(), 1);
    EXPECT_EQ(ticker.panelItem(2).title, "first");

    // Next round: panel 2 is in view, panel 1 takes item 1; frames as (outgoing, incoming)
    // appear as (top2, top1).
    view.frames.clear();
    EXPECT_EQ(tickUntil(10000), (std::vector<int>{100, 100, 100, 100, 100, 10000}));
    EXPECT_EQ(view.fills.back(), (Fill{1, 2, "second"}));
    std::vector<Frame> swapped;
    for (const Frame& f : scroll)
        swapped.push_back({f.top2, f.top1});
    EXPECT_EQ(view.frames, swapped);
    EXPECT_EQ(ticker.panelItem(1).title, "second");

    // Round robin: back to item 0 on panel 2.
    tickUntil(10000);
    EXPECT_EQ(view.fills.back(), (Fill{2, 3, "first"}));
    EXPECT_EQ(ticker.nowNI(), 1);
}

TEST_F(NewsAnimateTest, LoneItemStandsStillOnPanelOne) {
    add(5, "lone", 7, int(kNow - 100)); // expired already: a lone item is never swept
    EXPECT_EQ(ticker.tick(), 1000);
    EXPECT_EQ(view.frames, (std::vector<Frame>{{0, 16}}));
    EXPECT_EQ(view.fills, (std::vector<Fill>{{1, 7, "lone"}, {2, 1, ""}}));
    EXPECT_EQ(ticker.panelItem(1).evID, 5);
    // Shown once; later polls change nothing.
    EXPECT_EQ(ticker.tick(), 1000);
    EXPECT_EQ(view.fills.size(), 2u);
    EXPECT_EQ(list.snapshot().size(), 1);
}

TEST_F(NewsAnimateTest, SweepRemovesTwoExpiredOfThreeAndTheThirdStandsStill) {
    add(1, "old", 1, int(kNow - 10));
    add(2, "keeps", 2, 0);
    add(3, "older", 3, int(kNow - 3600));
    EXPECT_EQ(ticker.tick(), 1000);
    const QList<topInfoRuntimeRecord> left = list.snapshot();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].title, "keeps");
    EXPECT_EQ(view.fills.front(), (Fill{1, 2, "keeps"}));
    EXPECT_EQ(view.frames, (std::vector<Frame>{{0, 16}}));
}

TEST_F(NewsAnimateTest, ExpiryIsStrictlyInThePast) {
    add(1, "now", 1, int(kNow));
    add(2, "past", 1, int(kNow - 1));
    add(3, "future", 1, int(kNow + 1));
    EXPECT_EQ(NewsAnimate::clearExpired(list, kNow), 2);
    EXPECT_EQ(list.snapshot()[0].title, "now");
}

TEST_F(NewsAnimateTest, DropBackToOneItemShowsItStillAgain) {
    add(1, "a", 1, int(kNow + 30));
    add(2, "b", 1, 0);
    tickUntil(10000);
    now += 60; // item a expires
    view.fills.clear();
    view.frames.clear();
    EXPECT_EQ(ticker.tick(), 1000);
    EXPECT_EQ(view.fills, (std::vector<Fill>{{1, 1, "b"}, {2, 1, ""}}));
    EXPECT_EQ(view.frames, (std::vector<Frame>{{0, 16}}));
}

TEST_F(NewsAnimateTest, IndexBeyondTheListWrapsToTheFirstItem) {
    add(1, "a");
    add(2, "b");
    add(3, "c", 1, int(kNow + 30));
    tickUntil(10000);
    tickUntil(10000);
    tickUntil(10000);
    EXPECT_EQ(ticker.nowNI(), 3);
    now += 60; // c leaves: index 3 is past the end
    tickUntil(10000);
    EXPECT_EQ(view.fills.back().title, "a");
    EXPECT_EQ(ticker.nowNI(), 1);
}

TEST_F(NewsAnimateTest, FailureRestartsFromTheFirstItem) {
    add(1, "a");
    add(2, "b");
    add(3, "c");
    tickUntil(10000);
    tickUntil(10000);
    ASSERT_EQ(ticker.nowNI(), 2);
    view.failNextFill = true;
    EXPECT_EQ(ticker.tick(), 100);
    EXPECT_EQ(ticker.failures(), 1);
    EXPECT_EQ(ticker.nowNI(), 0);
    EXPECT_EQ(ticker.top1(), 0);
    EXPECT_EQ(ticker.top2(), 0);
    tickUntil(10000);
    EXPECT_EQ(view.fills.back(), (Fill{2, 1, "a"}));
}

TEST(NewsAnimate, PanelGeometryByImportance) {
    using G = NewsAnimate::PanelGeometry;
    EXPECT_EQ(NewsAnimate::panelGeometry(3), (G{3, 48, 58, 402}));
    EXPECT_EQ(NewsAnimate::panelGeometry(2), (G{2, 32, 42, 418}));
    for (int other : {1, 0, -1, 4, 7})
        EXPECT_EQ(NewsAnimate::panelGeometry(other), (G{1, 16, 26, 434})) << other;
}

TEST(NewsAnimate, ClickTargets) {
    using C = NewsAnimate::Click;
    const topInfoRuntimeRecord tips{7, "newtips", 1, "文章", 0};
    const topInfoRuntimeRecord rdnt{7, "rdnt", 1, "快讯", 0};
    const topInfoRuntimeRecord none{0, "newtips", 1, "", 0};
    EXPECT_EQ(NewsAnimate::panelClick(2, tips, "S1"), (C{true, true, "文章", "artview/S1/7"}));
    EXPECT_EQ(NewsAnimate::panelClick(1, tips, "S1"), (C{true, true, "文章", "artview/S1/7"}));
    EXPECT_EQ(NewsAnimate::panelClick(2, rdnt, "S1"), (C{true, false, "", ""}));
    EXPECT_EQ(NewsAnimate::panelClick(1, rdnt, "S1"), (C{true, false, "", ""}));
    // An empty panel: panel 2 still brings the main window up, panel 1 does nothing.
    EXPECT_EQ(NewsAnimate::panelClick(2, none, "S1"), (C{true, false, "", ""}));
    EXPECT_EQ(NewsAnimate::panelClick(1, none, "S1"), (C{false, false, "", ""}));
    // A session id cannot change the address's shape.
    EXPECT_EQ(NewsAnimate::panelClick(1, tips, "a/../b?").params, "artview/a%2F..%2Fb%3F/7");
}

TEST_F(NewsAnimateTest, ClickOnTheLoneItemActsOnIt) {
    add(9, "only", 1, 0, "newtips");
    ticker.tick();
    EXPECT_EQ(NewsAnimate::panelClick(1, ticker.panelItem(1), "S").params, "artview/S/9");
}

} // namespace
} // namespace kovan
