#pragma once

#include <QString>

namespace kovan {

// The arithmetic of a chart frame, apart from any drawing, so that it can be checked number by
// number. round() here is round-half-to-even and integer division truncates towards zero.
namespace chartgeo {

// Nearest integer, ties to even; values beyond ±2^30 (and NaN) are clamped so that pixel
// arithmetic never overflows.
int roundEven(double v);

// Bars between time labels: ceil(40 / step), made odd. step > 0.
int labelEvery(int step);

// Price label divisions: the smallest odd k ≥ 3 with H div k ≤ 40 (k − 2 labels are drawn).
int priceLabelCount(int H);

// Bar slots across a price area W pixels wide: round(W / step).
int slotCount(int W, int step);

struct Range {
    int first = 0;
    int last = -1;
};

// The visible bars of a frame of n bars. Follow mode shows the newest bars and leaves 3 × step
// slots empty on the right; otherwise `firstIndex` is the first bar. first is never negative;
// last never passes n − 1.
Range visibleRange(bool follow, int firstIndex, int n, int W, int step);

// The first visible bar after a drag from x1 to x2 (movePX), or -1 when the drag is shorter
// than a slot or would scroll past the newest bars. viewWidth is the whole view's width.
int scrollTarget(int firstIndex, int n, int viewWidth, int step, int x1, int x2);

} // namespace chartgeo

// The price scale of a frame: `high` at row 0 and `perPx` pixels per pip of `minPip`.
struct PriceScale {
    float high = 0;
    float low = 0;
    float perPx = 0;
    float minPip = 0;

    int y(double v) const;       // row of price v
    double price(int row) const; // price at a row (cross-hair read-out)
};

// Price label: rounded integer when decimals is 0, else fixed point with that many decimals.
QString priceLabel(double v, int decimals);

// "hh:mm" of a bar time (UTC).
QString timeLabel(qint64 seconds);

} // namespace kovan
