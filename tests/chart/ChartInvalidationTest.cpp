// The invalidation levels of a chart window: the marks of one operation merge, the highest
// wins, and taking them leaves nothing pending.

#include "chart/ChartInvalidation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kovan;

using Level = ChartInvalidation::Level;

TEST(ChartInvalidation, TheHighestPendingLevelWins) {
    struct Case {
        std::vector<Level> marks;
        Level merged;
    };
    const Case cases[] = {
        {{}, Level::None},
        {{Level::Cursor}, Level::Cursor},
        {{Level::Cursor, Level::Cursor}, Level::Cursor},
        {{Level::Cursor, Level::Price}, Level::Price},
        {{Level::Price, Level::Cursor}, Level::Price},
        {{Level::Full, Level::Price}, Level::Full}, // a new bar and a new bid: one frame
        {{Level::Price, Level::Full, Level::Cursor}, Level::Full},
        {{Level::Price, Level::LastBar}, Level::LastBar}, // a moved bar with its bid
        {{Level::LastBar, Level::Price, Level::Cursor}, Level::LastBar},
        {{Level::LastBar, Level::Full}, Level::Full}, // a rewritten bar, then a new one
        {{Level::None, Level::Cursor, Level::None}, Level::Cursor},
    };
    for (const Case& c : cases) {
        ChartInvalidation inv;
        for (const Level l : c.marks)
            inv.invalidate(l);
        EXPECT_EQ(inv.pending(), c.merged) << c.marks.size() << " marks";
        EXPECT_EQ(inv.take(), c.merged);
        EXPECT_EQ(inv.pending(), Level::None); // drawn once
        EXPECT_EQ(inv.take(), Level::None);
    }
}
