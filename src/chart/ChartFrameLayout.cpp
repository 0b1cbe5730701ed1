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

} // namespace

void layoutFrame(const ChartFrameInput& in, const TextWidth& textWidth, ChartFrameLayout& l) {
    l.priceLabels.clear();
    l.timeLabels.clear();
    l.candleBars.clear();
    l.linePoints.clear();
    l.marker = ChartPriceMarker{};
    l.first = 0;
    l.last = -1;

    const ChartDataList* barsPtr = in.bars;
    l.barCount = barsPtr ? int(barsPtr->size()) : 0;
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
    if (l.step <= 0) {
        l.status = FrameStatus::NoSlotWidth;
        return;
    }
    const int st = l.step, n = l.barCount, W = l.priceWidth, H = l.priceHeight;
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
    const ChartDataList& bars = *barsPtr;
    const float p = in.price != 0 ? in.price : bars[size_t(n - 1)].close;
    l.price = p;
    if (!scaleFor(in, l, l.scale)) {
        l.status = FrameStatus::NoPriceScale;
        return;
    }
    const PriceScale& sc = l.scale;
    const float hi = sc.high, lo = sc.low;

    // Price labels between the top and the bottom of the scale (which carry none).
    const int k = priceLabelCount(H);
    for (int i = 1; i <= k - 2; ++i) {
        const double v = double(hi) - i * (double(hi) - double(lo)) / k;
        l.priceLabels.push_back({QPoint(W + 4, sc.y(v) - 4), priceLabel(v, l.decimals)});
    }

    const int first = l.first, every = l.labelEvery;
    const int drawn = std::max(0, std::min(l.slots, n - first));
    if (l.candles)
        l.candleBars.reserve(size_t(drawn));
    else
        l.linePoints.reserve(size_t(drawn));
    for (int j = 0; j < drawn; ++j) {
        const int i = first + j;
        const ChartDataListRecord& bar = bars[size_t(i)];
        float open = bar.open, close = bar.close, low = bar.low, high = bar.high;
        // The newest bar follows the shown price.
        const bool newestMoved = i == n - 1 && close != p && p > 0;
        if ((j + 1) % every == 0) {
            // Labelled at the middle of the last `every` slots.
            const int half = every / 2;
            const int x = (j - half) * st;
            qint64 t = bars[size_t(first + j - half)].dl;
            if (!l.candles)
                t += 28800; // the line chart's labels read eight hours later
            QString s = timeLabel(t);
            const int tx = x - textWidth(s) / 2;
            l.timeLabels.push_back({j, x, {QPoint(tx, H + 5), std::move(s)}});
        }
        if (l.candles) {
            ChartCandle c;
            c.x0 = l.kmargin + j * st;
            c.x1 = c.x0 + l.kwidth;
            if (newestMoved) {
                close = p;
                low = std::min(low, p);
                high = std::max(high, p);
            }
            const int yc = sc.y(close), yo = sc.y(open);
            c.rising = yc < yo;
            if (c.rising) {
                c.bodyTop = yc;
                c.bodyBottom = yo;
            } else {
                c.bodyTop = yc == yo ? yc - 1 : yo; // a flat bar is one row high
                c.bodyBottom = yc;
            }
            c.wickX = l.kmargin + j * st + l.kwidth / 2;
            c.wickTop = sc.y(high);
            c.wickBottom = sc.y(low);
            l.candleBars.push_back(c);
        } else {
            l.linePoints.emplace_back(l.kmargin + j * st, sc.y(newestMoved ? p : close));
        }
    }

    // Current price marker, inside the scale only.
    ChartPriceMarker& m = l.marker;
    m.shown = lo < p && p <= hi;
    if (m.shown) {
        const int w = l.width;
        m.y = sc.y(p);
        m.box = {w - 56, m.y - 8, w - 4, m.y + 8};
        m.label = {QPoint(w - 54, m.y - 7), priceLabel(p, l.decimals)};
        m.lineEnd = w - 56;
    }
    l.status = FrameStatus::Ok;
}

} // namespace kovan
