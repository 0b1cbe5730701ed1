#pragma once

#include "chart/ChartCanvas.h"
#include "chart/ChartFrameLayout.h"
#include "chart/ChartStyle.h"

namespace kovan {

// Paints a laid-out frame (status Ok) onto the canvas: background, frame lines, axis labels,
// bars, current-price marker; the indicators come after. Sets the canvas font to the axis font
// (Verdana 8), which the bitmap then keeps. Throws InvalidColorError for a bad style colour.
void paintFrame(ChartCanvas& canvas, const ChartFrameLayout& layout, const ChartStyle& style);

} // namespace kovan
