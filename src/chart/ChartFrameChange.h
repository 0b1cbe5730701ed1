#pragma once

#include "chart/ChartFrameLayout.h"

#include <QRegion>

#include <optional>

namespace kovan {

// Where two laid-out frames can differ, when the second one only moved the last bar and the
// current price: the part of the bitmap (in the frame's own pixels, a few rectangles) outside
// which both frames hold the same pixels. It covers the old and the new last bar (its whole column
// of the price area, wick and body alike; in line mode the last segment with the line's width) and
// the old and the new price marker (a band across the whole width: the line runs from the left
// edge, the box and its text sit on the price axis).
//
// None when anything else moved: another size, style, visible range or bar count, another
// price scale or other axis labels, a bar before the last that changed, a frame that is not
// Ok. The caller then shows the whole frame. Indicators are the caller's: their lines depend
// on more than the last bar's column.
std::optional<QRegion> lastBarChange(const ChartFrameLayout& before, const ChartFrameLayout& after);

} // namespace kovan
