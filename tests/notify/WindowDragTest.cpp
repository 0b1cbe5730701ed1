// The arithmetic both notice windows drag by: where a press may start, and the offsets moves
// give.

#include "notify/WindowDrag.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(NotifyWindowDrag, StrictlyInsideLeavesOutTheFirstColumnAndRowAndThePastTheEndEdges) {
    const QRect r(10, 20, 100, 50); // right edge at x 110, bottom edge at y 70
    const struct {
        QPoint p;
        bool inside;
    } cases[] = {
        {{11, 21}, true},   {{109, 69}, true}, {{10, 40}, false}, {{50, 20}, false},
        {{110, 40}, false}, {{50, 70}, false}, {{109, 40}, true}, {{50, 69}, true},
        {{111, 40}, false}, {{9, 19}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strictlyInside(r, c.p), c.inside) << c.p.x() << "," << c.p.y();
}

TEST(NotifyWindowDrag, MovesGiveTheCursorsStepsSinceThePress) {
    enum Kind { Press, PressRefused, Move, Release };
    const struct {
        Kind kind;
        QPoint cursor;
        QPoint offset; // of a move
        bool dragging; // afterwards
    } steps[] = {
        {Move, {50, 50}, {0, 0}, false},       {PressRefused, {50, 50}, {}, false},
        {Move, {60, 60}, {0, 0}, false},       {Press, {100, 100}, {}, true},
        {Move, {130, 140}, {30, 40}, true},    {Move, {125, 140}, {-5, 0}, true},
        {Move, {125, 140}, {0, 0}, true},      {Press, {0, 0}, {}, true},
        {Move, {-10, 5}, {-10, 5}, true},      {Release, {}, {}, false},
        {Move, {300, 300}, {0, 0}, false},     {Press, {300, 300}, {}, true},
        {PressRefused, {310, 310}, {}, false}, {Move, {320, 320}, {0, 0}, false},
    };
    WindowDrag drag;
    int i = 0;
    for (const auto& s : steps) {
        switch (s.kind) {
        case Press:
        case PressRefused:
            drag.press(s.cursor, s.kind == Press);
            break;
        case Move:
            EXPECT_EQ(drag.move(s.cursor), s.offset) << "step " << i;
            break;
        case Release:
            drag.release();
            break;
        }
        EXPECT_EQ(drag.dragging(), s.dragging) << "step " << i;
        ++i;
    }
}

} // namespace
} // namespace kovan
