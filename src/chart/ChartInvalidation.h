#pragma once

#include <utility>

namespace kovan {

// What the changes of one window operation ask of the chart's next drawing, after the
// invalidation levels of lightweight-charts: each change marks its level, the marks merge (the
// highest level wins), and the drawing step takes the result and draws once.
//
//   Cursor  the cross-hair moved, came or went: a copy of the last frame with (or without) it
//   Price   the current price changed: a new frame
//   Full    bars, style, layers, scroll position or view size changed: a new frame
//
// A level draws everything the levels below it draw; a frame in cross-hair mode gets the cross
// back on top. Every frame is drawn in full, so Price and Full draw alike for now. A new level
// goes into the order where its drawing belongs (a last-bar update between Price and Full, say);
// the drawing step switches over every level, so the compiler points at the place to handle it.
//
// A plain value: the window fills and takes it on the GUI thread.
class ChartInvalidation {
public:
    enum class Level { None, Cursor, Price, Full };

    void invalidate(Level level) {
        if (level > m_pending)
            m_pending = level;
    }
    Level pending() const { return m_pending; }
    // The pending level; nothing is pending afterwards.
    Level take() { return std::exchange(m_pending, Level::None); }

private:
    Level m_pending = Level::None;
};

} // namespace kovan
