#pragma once

#include <optional>

namespace kovan {

// The scroll phases of the rates ticker over one built sheet. p is the pixel phase, j the row.
// Each tick (50 ms apart) shows offset 25·j + p while p < 25, holds while 25 ≤ p < 50, and at
// p = 50 moves to the next row with p back at 0, then p advances. So the first row shows
// 0, 1, …, 24 and later rows 25j+1 … 25j+24; the scroll ends when j reaches the row count.
// Plain state; the ticker worker owns one per cycle.
class TickerScroll {
public:
    explicit TickerScroll(int rows) : m_rows(rows) {}

    // The offset shown when the cycle starts.
    static constexpr int initialOffset() { return 0; }

    struct Step {
        std::optional<int> offset; // the sheet row shown at the top of the window, if it moves
        bool done = false;         // the scroll loop ends (the sheet is rebuilt)
    };
    Step tick();
    // Runs the ticks ahead that would neither move the picture nor end the scroll (the hold
    // after each row), so the worker can sleep through them in one wait instead of waking
    // every 50 ms to do nothing. Returns how many ticks it ran.
    int skipQuietTicks();

    int p() const { return m_p; }
    int j() const { return m_j; }

private:
    int m_rows;
    int m_p = 0;
    int m_j = 0;
};

} // namespace kovan
