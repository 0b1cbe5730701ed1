#include "chart/ChartFrameLayout.h"

#include <algorithm>
#include <cmath>

namespace kovan {

using namespace chartgeo;

namespace {

// The price scale over bars first … last: their highs and lows, the shown price when the
// newest bar is visible, and BASEPIP pips of margin on both sides. False when there is no
// usable scale (a pip of 0, a flat range without margin, non-finite prices).
bool scaleFor(const ChartFrameInput& in, const ChartFrameLayout& l, PriceScale& out) {
    const ChartDataList& bars = *in.bars;
    float hi = bars[size_t(l.first)].high, lo = bars[size_t(l.first)].low;
    for (int i = l.first; i <= l.last; ++i) {
        hi = std::max(hi, bars[size_t(i)].high);
        lo = std::min(lo, bars[size_t(i)].low);
    }
    if (l.last == l.barCount - 1) {
        hi = std::max(hi, l.price);
        lo = std::min(lo, l.price);
    }
    const float pip = in.pipMin;
    hi = float(double(hi) + in.basePip * double(pip));
    lo = float(double(lo) - in.basePip * double(pip));
    const double span = double(hi) / double(pip) - double(lo) / double(pip);
    if (pip == 0 || !std::isfinite(span) || span == 0 || !std::isfinite(hi) || !std::isfinite(lo))
        return false;
    const float ppp = float(l.priceHeight / span); // pixels per pip
    if (!std::isfinite(ppp) || ppp == 0)
        return false;
    out = PriceScale{hi, lo, ppp, pip};
    return true;
}

// Clears what the last frame left and takes the sizes and widths of this one.
void startLayout(const ChartFrameInput& in, ChartFrameLayout& l) {
    l.priceLabels.clear();
    l.timeLabels.clear();
    l.candleBars.clear();
    l.linePoints.clear();
    l.marker = ChartPriceMarker{};
    l.first = 0;
    l.last = -1;
    l.barCount = in.bars ? int(in.bars->size()) : 0;
    l.width = in.width;
    l.height = in.height;
    l.priceWidth = in.width - 60;
    l.priceHeight = in.height - 20;
    l.kwidth = in.kwidth;
    l.kmargin = in.kmargin;
    l.step = in.kwidth + in.kmargin;
    l.candles = in.candles;
    l.decimals = in.decimals;
    l.firstIndex = in.firstIndex;
}

// Price labels between the top and the bottom of the scale (which carry none).
void layPriceLabels(ChartFrameLayout& l) {
    const PriceScale& sc = l.scale;
    const float hi = sc.high, lo = sc.low;
    const int k = priceLabelCount(l.priceHeight);
    for (int i = 1; i <= k - 2; ++i) {
        const double v = double(hi) - i * (double(hi) - double(lo)) / k;
        l.priceLabels.push_back({QPoint(l.priceWidth + 4, sc.y(v) - 4), priceLabel(v, l.decimals)});
    }
}

// The time label that closes slot j: at the middle of the last labelEvery slots.
ChartTimeLabel timeLabelAt(const ChartFrameLayout& l, const ChartDataList& bars, int j,
                           const TextWidth& textWidth) {
    const int half = l.labelEvery / 2;
    const int x = (j - half) * l.step;
    qint64 t = bars[size_t(l.first + j - half)].dl;
    if (!l.candles)
        t += 28800; // the line chart's labels read eight hours later
    QString s = timeLabel(t);
    const int tx = x - textWidth(s) / 2;
    return {j, x, {QPoint(tx, l.priceHeight + 5), std::move(s)}};
}

// The candle of `bar` in slot j; the newest bar, when `moved`, closes at the shown price and
// reaches it with its low or high.
ChartCandle candleAt(const ChartFrameLayout& l, int j, const ChartDataListRecord& bar, bool moved) {
    const PriceScale& sc = l.scale;
    const float p = l.price;
    float close = bar.close, low = bar.low, high = bar.high;
    if (moved) {
        close = p;
        low = std::min(low, p);
        high = std::max(high, p);
    }
    ChartCandle c;
    c.x0 = l.kmargin + j * l.step;
    c.x1 = c.x0 + l.kwidth;
    const int yc = sc.y(close), yo = sc.y(bar.open);
    c.rising = yc < yo;
    if (c.rising) {
        c.bodyTop = yc;
        c.bodyBottom = yo;
    } else {
        c.bodyTop = yc == yo ? yc - 1 : yo; // a flat bar is one row high
        c.bodyBottom = yc;
    }
    c.wickX = l.kmargin + j * l.step + l.kwidth / 2;
    c.wickTop = sc.y(high);
    c.wickBottom = sc.y(low);
    return c;
}

// The bars slot by slot from the first visible one (candles or line points), with the time
// label of every labelEvery-th slot.
void layBars(const ChartDataList& bars, const TextWidth& textWidth, ChartFrameLayout& l) {
    const int n = l.barCount, first = l.first;
    const float p = l.price;
    const int drawn = std::max(0, std::min(l.slots, n - first));
    if (l.candles)
        l.candleBars.reserve(size_t(drawn));
    else
        l.linePoints.reserve(size_t(drawn));
    for (int j = 0; j < drawn; ++j) {
        const int i = first + j;
        const ChartDataListRecord& bar = bars[size_t(i)];
        // The newest bar follows the shown price.
        const bool newestMoved = i == n - 1 && bar.close != p && p > 0;
        if ((j + 1) % l.labelEvery == 0)
            l.timeLabels.push_back(timeLabelAt(l, bars, j, textWidth));
        if (l.candles)
            l.candleBars.push_back(candleAt(l, j, bar, newestMoved));
        else
            l.linePoints.emplace_back(l.kmargin + j * l.step,
                                      l.scale.y(newestMoved ? p : bar.close));
    }
}

// The current-price marker, inside the scale only.
void layPriceMarker(ChartFrameLayout& l) {
    const float p = l.price;
    ChartPriceMarker& m = l.marker;
    m.shown = l.scale.low < p && p <= l.scale.high;
    if (!m.shown)
        return;
    const int w = l.width;
    m.y = l.scale.y(p);
    m.box = {w - 56, m.y - 8, w - 4, m.y + 8};
    m.label = {QPoint(w - 54, m.y - 7), priceLabel(p, l.decimals)};
    m.lineEnd = w - 56;
}

} // namespace

void layoutFrame(const ChartFrameInput& in, const TextWidth& textWidth, ChartFrameLayout& l) {
    startLayout(in, l);
    if (l.step <= 0) {
        l.status = FrameStatus::NoSlotWidth;
        return;
    }
    const int st = l.step, n = l.barCount, W = l.priceWidth;
    l.labelEvery = labelEvery(st);
    l.slots = slotCount(W, st);

    // Visible range. In follow mode FDNInx takes the first bar before it is raised to 0.
    const Range r = visibleRange(in.follow, in.firstIndex, n, W, st);
    if (in.follow)
        l.firstIndex = n - l.slots + 3 * st;
    l.first = r.first;
    l.last = r.last;
    if (l.first >= n) {
        l.status = FrameStatus::FirstPastEnd;
        return;
    }
    const ChartDataList& bars = *in.bars;
    l.price = in.price != 0 ? in.price : bars[size_t(n - 1)].close;
    if (!scaleFor(in, l, l.scale)) {
        l.status = FrameStatus::NoPriceScale;
        return;
    }
    layPriceLabels(l);
    layBars(bars, textWidth, l);
    layPriceMarker(l);
    l.status = FrameStatus::Ok;
}

} // namespace kovan
