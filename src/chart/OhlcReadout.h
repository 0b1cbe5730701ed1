#pragma once

#include "chart/ChartCanvas.h"
#include "chart/ChartData.h"

#include <QString>

namespace kovan {

// The OHLC read-out of the cross-hair: one compact line at the view's top-left naming the time
// (UTC, "yyyy-MM-dd hh:mm") and the open, high, low and close of the bar under the cross,
// prices in the chart's label format. It is drawn on the cross-hair's own copy of the frame,
// so showing it never redraws the chart.

// "2023-11-14 23:00  O 5632  H 5640  L 5620  C 5635"
QString ohlcReadoutText(const ChartDataListRecord& bar, int decimals);

// Draws the read-out of `bar` at the top-left of the canvas: a box in `boxColour` (the style's
// `front`) with the text in `textColour`.
void paintOhlcReadout(ChartCanvas& canvas, const ChartDataListRecord& bar, int decimals,
                      quint32 boxColour, quint32 textColour);

} // namespace kovan
