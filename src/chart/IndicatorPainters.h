#pragma once

#include "chart/ChartCanvas.h"
#include "chart/ChartData.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartStyle.h"

#include <QJsonObject>
#include <QStringView>

namespace kovan {

// What an indicator draws into and from: the canvas (the frame being drawn, or the cache
// outside a frame), the chart's style and bars, and the values of that frame: the visible bars
// first … last, the slot width and the price scale.
struct IndicatorFrame {
    ChartCanvas& canvas;
    const ChartStyle& style;
    const ChartDataList& bars;
    int first = 0;
    int last = -1;
    int step = 0;
    PriceScale scale;
};

// Draws one indicator layer from its attributes. Throws InvalidColorError for a bad colour.
using IndicatorPainter = void (*)(IndicatorFrame& frame, const QJsonObject& attributes);

// "PPVI": pivot, resistance and support levels from `itime` on.
void paintPivots(IndicatorFrame& frame, const QJsonObject& attributes);
// "MA": the moving averages of MALIST.
void paintMovingAverages(IndicatorFrame& frame, const QJsonObject& attributes);
// "BB": Bollinger bands (upper, middle, lower).
void paintBands(IndicatorFrame& frame, const QJsonObject& attributes);

// The painter of an indicator type (exact, case-sensitive), or null for a type that draws
// nothing ("MKDT" among them: accepted, nothing to draw).
IndicatorPainter indicatorPainter(QStringView type);

} // namespace kovan
