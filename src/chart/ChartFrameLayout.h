#pragma once

#include "chart/ChartData.h"
#include "chart/ChartGeometry.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

namespace kovan {

// What a full frame is laid out from: the series, the size of the bitmap, the style and
// instrument values already read from their JSON objects, and the scroll state.
struct ChartFrameInput {
    const ChartDataList* bars = nullptr;
    int width = 0; // the view, in logical pixels (the canvas scales to the bitmap's)
    int height = 0;
    int kwidth = 0; // style: body width (line width in line mode)
    int kmargin = 0;
    bool candles = true; // style linetype 0
    bool follow = true;  // FAutoMove
    int firstIndex = 0;  // FDNInx: the first bar when not following
    float price = 0;     // FPrice; 0 = none known
    float pipMin = 0;    // PIPMIN
    double basePip = 0;  // BASEPIP, pips of margin above and below
    int decimals = 0;    // PIPLEN
};

// Why a frame has no layout (and is abandoned).
enum class FrameStatus {
    Ok,
    NoSlotWidth,  // kwidth + kmargin ≤ 0
    FirstPastEnd, // no bar at the first visible index (an empty series, or follow mode on a
                  // view narrower than its three-step right margin)
    NoPriceScale, // a flat range without margin, PIPMIN 0, non-finite prices
};

// A price-axis label or any text placed at its top-left corner.
struct ChartLabel {
    QPoint pos;
    QString text;
};

// A time label: the tick line(x, H, x, H + 5) and its text, drawn just before the bar of `slot`
// (order matters where bars outside the scale reach into the time axis).
struct ChartTimeLabel {
    int slot = 0;
    int tickX = 0;
    ChartLabel label;
};

// One candle: body fill(x0, bodyTop, x1, bodyBottom), wick line(wickX, wickTop, wickX,
// wickBottom). Rising bars take the yang colours, falling and flat ones the yin colours.
struct ChartCandle {
    int x0 = 0, x1 = 0;
    int bodyTop = 0, bodyBottom = 0;
    bool rising = false;
    int wickX = 0;
    int wickTop = 0, wickBottom = 0;
};

// A filled rectangle as fill() takes it: x1 ≤ x < x2, y1 ≤ y < y2.
struct ChartFill {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The current-price marker: box fill, the price in it, and the line from the left edge.
struct ChartPriceMarker {
    bool shown = false; // lo < price ≤ hi
    int y = 0;
    ChartFill box;
    ChartLabel label;
    int lineEnd = 0; // line(0, y, lineEnd, y)
};

// Every number of a full frame, before a pixel is drawn. Integer division truncates, round()
// is half to even (chartgeo).
struct ChartFrameLayout {
    FrameStatus status = FrameStatus::NoSlotWidth;
    int width = 0, height = 0; // w, h
    int priceWidth = 0;        // W = w − 60: the price area; the price axis is right of it
    int priceHeight = 0;       // H = h − 20: the time axis is below it
    int kwidth = 0, kmargin = 0;
    int step = 0;       // one bar slot: kwidth + kmargin
    int labelEvery = 0; // slots between time labels (odd)
    int slots = 0;      // round(W / step)
    bool candles = true;
    int barCount = 0;   // n
    int firstIndex = 0; // FDNInx after the frame (follow mode sets it, even when abandoned)
    int first = 0;      // visible range: bars first … last enter the price scale
    int last = -1;
    float price = 0; // the price shown: the given one, else the newest close
    PriceScale scale;
    int decimals = 0;

    std::vector<ChartLabel> priceLabels;
    std::vector<ChartTimeLabel> timeLabels;
    std::vector<ChartCandle> candleBars; // candle mode: slot j at index j
    std::vector<QPoint> linePoints;      // line mode: slot j at index j
    ChartPriceMarker marker;

    // Bars drawn: slots j with first + j < n (may pass `last` when not following).
    int drawnBars() const { return candles ? int(candleBars.size()) : int(linePoints.size()); }
};

// Pixel advance of a text in the axis font (Verdana 8).
using TextWidth = std::function<int(const QString&)>;

// Lays out a full frame into `out`, reusing its vectors. Fills firstIndex whenever the slot
// has a width; everything else only with status Ok.
void layoutFrame(const ChartFrameInput& in, const TextWidth& textWidth, ChartFrameLayout& out);

inline ChartFrameLayout layoutFrame(const ChartFrameInput& in, const TextWidth& textWidth) {
    ChartFrameLayout out;
    layoutFrame(in, textWidth, out);
    return out;
}

} // namespace kovan
