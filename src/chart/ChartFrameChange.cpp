#include "chart/ChartFrameChange.h"

#include <algorithm>

namespace kovan {

namespace {

bool sameLabel(const ChartLabel& a, const ChartLabel& b) {
    return a.pos == b.pos && a.text == b.text;
}

bool sameCandle(const ChartCandle& a, const ChartCandle& b) {
    return a.x0 == b.x0 && a.x1 == b.x1 && a.bodyTop == b.bodyTop && a.bodyBottom == b.bodyBottom &&
           a.rising == b.rising && a.wickX == b.wickX && a.wickTop == b.wickTop &&
           a.wickBottom == b.wickBottom;
}

bool sameScale(const PriceScale& a, const PriceScale& b) {
    return a.high == b.high && a.low == b.low && a.perPx == b.perPx && a.minPip == b.minPip;
}

// Everything but the last bar and the marker.
bool sameFrame(const ChartFrameLayout& a, const ChartFrameLayout& b) {
    if (a.status != FrameStatus::Ok || b.status != FrameStatus::Ok)
        return false;
    if (a.width != b.width || a.height != b.height || a.priceWidth != b.priceWidth ||
        a.priceHeight != b.priceHeight || a.kwidth != b.kwidth || a.kmargin != b.kmargin ||
        a.step != b.step || a.labelEvery != b.labelEvery || a.slots != b.slots ||
        a.candles != b.candles || a.barCount != b.barCount || a.first != b.first ||
        a.last != b.last || a.decimals != b.decimals || !sameScale(a.scale, b.scale))
        return false;
    if (a.drawnBars() != b.drawnBars() || a.drawnBars() == 0)
        return false;
    // Only the bar of the last slot may move, and only when it is the series' newest bar.
    if (a.first + a.drawnBars() != a.barCount)
        return false;
    if (!std::equal(a.priceLabels.begin(), a.priceLabels.end(), b.priceLabels.begin(),
                    b.priceLabels.end(), sameLabel))
        return false;
    if (!std::equal(a.timeLabels.begin(), a.timeLabels.end(), b.timeLabels.begin(),
                    b.timeLabels.end(), [](const ChartTimeLabel& x, const ChartTimeLabel& y) {
                        return x.slot == y.slot && x.tickX == y.tickX &&
                               sameLabel(x.label, y.label);
                    }))
        return false;
    if (a.candles)
        return std::equal(a.candleBars.begin(), a.candleBars.end() - 1, b.candleBars.begin(),
                          sameCandle);
    return std::equal(a.linePoints.begin(), a.linePoints.end() - 1, b.linePoints.begin());
}

// The last bar's column over the price area (the price axis line at W stays out of it unless
// the bar reaches it).
QRect lastBarBand(const ChartFrameLayout& l) {
    if (l.candles) {
        const ChartCandle& c = l.candleBars.back();
        const int x0 = std::min(c.x0, c.wickX), x1 = std::max(c.x1, c.wickX + 1);
        return QRect(QPoint(x0, 0), QPoint(x1 - 1, l.height - 1)); // bars may reach below H
    }
    // The segment into the last point, widened by the line width on every side.
    const QPoint to = l.linePoints.back();
    const QPoint from = l.linePoints.size() > 1 ? l.linePoints[l.linePoints.size() - 2] : to;
    const int grow = std::max(l.kwidth, 1) + 1;
    return QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                 QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())))
        .adjusted(-grow, -grow, grow, grow);
}

// The marker's rows across the whole width: the line, the box (y - 8 … y + 8 at design size)
// and its text, which is sized to fit the box; a quarter of the box's height more on each side
// for glyphs that reach past it.
QRect markerBand(const ChartFrameLayout& l) {
    if (!l.marker.shown)
        return QRect();
    const ChartPriceMarker& m = l.marker;
    const int boxHeight = m.box.y2 - m.box.y1;
    const int margin = std::max(4, boxHeight / 4);
    const int top = std::min({m.y, m.box.y1, m.label.pos.y()}) - margin;
    const int bottom = std::max({m.y + 1, m.box.y2, m.label.pos.y() + boxHeight + margin}) + margin;
    return QRect(0, top, l.width, bottom - top);
}

} // namespace

std::optional<QRegion> lastBarChange(const ChartFrameLayout& before,
                                     const ChartFrameLayout& after) {
    if (!sameFrame(before, after))
        return std::nullopt;
    const QRect frame(0, 0, after.width, after.height);
    QRegion changed;
    for (const QRect& r :
         {lastBarBand(before), lastBarBand(after), markerBand(before), markerBand(after)})
        changed += r & frame;
    return changed;
}

} // namespace kovan
