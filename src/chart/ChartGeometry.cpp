#include "chart/ChartGeometry.h"

#include "core/RoundHalfEven.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kovan {
namespace chartgeo {

int roundEven(double v) {
    return roundHalfEven(v);
}

int labelEvery(int step) {
    int n = (40 + step - 1) / step;
    if (n % 2 == 0)
        ++n;
    return n;
}

int priceLabelCount(int H) {
    int k = 3;
    while (H / k > 40)
        k += 2;
    return k;
}

int slotCount(int W, int step) {
    return roundEven(double(W) / step);
}

Range visibleRange(bool follow, int firstIndex, int n, int W, int step) {
    Range r;
    const int slots = slotCount(W, step);
    if (follow) {
        r.first = n - slots + 3 * step;
        r.last = n - 1;
    } else {
        r.first = firstIndex;
        r.last = std::min(r.first + slots - step, n - 1);
    }
    r.first = std::max(r.first, 0);
    return r;
}

int scrollTarget(int firstIndex, int n, int viewWidth, int step, int x1, int x2) {
    if (std::abs(x2 - x1) < step)
        return -1;
    const int shift = (x2 - x1) / step;
    const int f = std::max(firstIndex - shift, 0);
    if (f > n - slotCount(viewWidth - 60, step) + step)
        return -1;
    return f;
}

} // namespace chartgeo

int PriceScale::y(double v) const {
    return chartgeo::roundEven((double(high) - v) / double(minPip) * double(perPx));
}

double PriceScale::price(int row) const {
    return double(high) - double(row) / double(perPx) * double(minPip);
}

QString priceLabel(double v, int decimals) {
    if (decimals <= 0) {
        // Rounded like every other value of the chart: half to even.
        if (!std::isfinite(v))
            return QStringLiteral("0");
        const double f = std::floor(v), d = v - f;
        const double r = (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0.0)) ? f + 1 : f;
        return QString::number(r, 'f', 0);
    }
    return QString::asprintf("%.*f", std::min(decimals, 20), v);
}

QString timeLabel(qint64 seconds) {
    qint64 s = seconds % 86400;
    if (s < 0)
        s += 86400;
    const int hh = int(s / 3600), mm = int(s % 3600 / 60);
    return QStringLiteral("%1:%2")
        .arg(hh, 2, 10, QLatin1Char('0'))
        .arg(mm, 2, 10, QLatin1Char('0'));
}

} // namespace kovan
