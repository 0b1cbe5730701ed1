#include "shell/TickerScroll.h"

#include <gtest/gtest.h>

#include <vector>

namespace kovan {
namespace {

// Runs a whole scroll cycle; `shown[t]` is the offset in view after tick t.
struct CycleRun {
    std::vector<int> shown;
    int ticks = 0;
};

CycleRun runCycle(int rows) {
    TickerScroll s(rows);
    CycleRun r;
    int inView = TickerScroll::initialOffset();
    for (int guard = 0; guard < 100000; ++guard) {
        const TickerScroll::Step step = s.tick();
        if (step.offset)
            inView = *step.offset;
        r.shown.push_back(inView);
        ++r.ticks;
        if (step.done)
            return r;
    }
    ADD_FAILURE() << "scroll never ended";
    return r;
}

TEST(TickerScroll, FirstRowShowsZeroToTwentyFourThenHolds) {
    const CycleRun r = runCycle(2);
    // Tick 0 shows 0 again (p = 0), ticks 1..24 move a pixel each.
    for (int t = 0; t <= 24; ++t)
        EXPECT_EQ(r.shown[t], t) << "tick " << t;
    // p = 25 … 50: held at 24.
    for (int t = 25; t <= 50; ++t)
        EXPECT_EQ(r.shown[t], 24) << "tick " << t;
}

TEST(TickerScroll, LaterRowsShowOneToTwentyFour) {
    const CycleRun r = runCycle(3);
    // Row j starts after 51 ticks for the first row, then every 50 ticks; offsets 25j+1..25j+24
    // each shown once, never 25j itself.
    for (int j = 1; j < 3; ++j) {
        const int first = 51 + (j - 1) * 50;
        for (int k = 0; k < 24; ++k)
            EXPECT_EQ(r.shown[first + k], 25 * j + 1 + k) << "row " << j << " step " << k;
        for (int k = 24; k < 50; ++k)
            EXPECT_EQ(r.shown[first + k], 25 * j + 24) << "row " << j << " hold " << k;
    }
    for (int off : r.shown)
        EXPECT_TRUE(off < 25 || off % 25 != 0) << off;
}

TEST(TickerScroll, EndsAfterTheLastRowWithTheCopyInView) {
    const CycleRun one = runCycle(1);
    EXPECT_EQ(one.ticks, 51);
    EXPECT_EQ(one.shown.back(), 24);
    const CycleRun two = runCycle(2);
    EXPECT_EQ(two.ticks, 101);
    EXPECT_EQ(two.shown.back(), 49);
}

TEST(TickerScroll, PhasesAfterEachTick) {
    TickerScroll s(2);
    EXPECT_EQ(s.tick().offset, 0);
    EXPECT_EQ(s.p(), 1);
    for (int i = 1; i < 25; ++i)
        EXPECT_EQ(s.tick().offset, i);
    for (int i = 25; i < 50; ++i)
        EXPECT_FALSE(s.tick().offset.has_value());
    EXPECT_EQ(s.p(), 50);
    const TickerScroll::Step advance = s.tick();
    EXPECT_FALSE(advance.offset.has_value());
    EXPECT_EQ(s.j(), 1);
    EXPECT_EQ(s.p(), 1);
    EXPECT_FALSE(advance.done);
    EXPECT_EQ(s.tick().offset, 26);
}

// The worker sleeps through the hold in one wait. On the 50 ms tick timeline it must show the
// same offsets at the same ticks and end at the same tick as stepping tick by tick does.
TEST(TickerScroll, SkippingTheHoldKeepsTheTimelineAndWakesOncePerMove) {
    struct Event {
        int tick;
        int offset; // −1: the scroll ends
        bool operator==(const Event&) const = default;
    };
    for (const int rows : {1, 2, 3, 7}) {
        std::vector<Event> stepped;
        {
            TickerScroll s(rows);
            for (int t = 0;; ++t) {
                const TickerScroll::Step step = s.tick();
                if (step.offset)
                    stepped.push_back({t, *step.offset});
                if (step.done) {
                    stepped.push_back({t, -1});
                    break;
                }
            }
        }
        std::vector<Event> skipping;
        int wakes = 0;
        {
            TickerScroll s(rows);
            for (int t = 0;;) {
                const TickerScroll::Step step = s.tick();
                if (step.offset)
                    skipping.push_back({t, *step.offset});
                if (step.done) {
                    skipping.push_back({t, -1});
                    break;
                }
                t += 1 + s.skipQuietTicks();
                ++wakes;
            }
        }
        EXPECT_EQ(skipping, stepped) << rows << " rows";
        // One wake per move: 25 on the first row, 24 on every later one (the row change and the
        // hold ride along), where stepping wakes 50 times a row.
        EXPECT_EQ(wakes, 25 + 24 * (rows - 1)) << rows << " rows";
    }
}

} // namespace
} // namespace kovan
