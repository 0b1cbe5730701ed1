#pragma once

#include <utility>

namespace kovan {

// What the changes of one window operation ask of the chart's next drawing, after the
// invalidation levels of lightweight-charts: each change marks its level, the marks merge (the
// highest level wins), and the drawing step takes the result and draws once.
//
//   Cursor   the cross-hair moved, came or went: a copy of the last frame with (or without) it
//   Price    the current price changed: a new frame, of which the screen gets only the rows of
//            the old and the new price marker when nothing else moved
//   LastBar  the newest bar was rewritten in place (a reply that moved it): a new frame, of
//            which the screen gets only that bar's column and the marker rows when the scale,
//            the labels and the visible bars stay (TChart::drawLastBar)
//   Full     bars added, style, layers, scroll position or view size changed: a new frame,
//            all of it to the screen
//
// A level draws everything the levels below it draw; a frame in cross-hair mode gets the cross
// back on top. Every frame is drawn whole into the chart's work bitmap (that takes a tenth of a
// millisecond); what the levels save is the repaint and the pixels sent to the screen. A new
// level goes into the order where its drawing belongs; the drawing step switches over every
// level, so the compiler points at the place to handle it.
//
// A plain value: the window fills and takes it on the GUI thread.
class ChartInvalidation {
public:
    enum class Level { None, Cursor, Price, LastBar, Full };

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
