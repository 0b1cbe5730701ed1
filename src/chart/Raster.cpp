#include "chart/Raster.h"

#include "chart/RasterSpan.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kovan::raster {

namespace {

// The value a colour is stored as in `img`, or nullopt when there is nothing to draw on (a null
// image). Throws for images that are not 32-bit ARGB or RGB32.
std::optional<quint32> pixelValue(const QImage& img, quint32 c) {
    switch (img.format()) {
    case QImage::Format_ARGB32:
        return c;
    case QImage::Format_ARGB32_Premultiplied:
        return (c >> 24) == 0xFF ? c : qPremultiply(c); // opaque colours stay as they are
    case QImage::Format_RGB32:
        return c | 0xFF000000u;
    case QImage::Format_Invalid:
        if (img.isNull())
            return std::nullopt;
        break;
    default:
        break;
    }
    throw std::invalid_argument("raster: the image is not 32-bit ARGB or RGB32");
}

// Direct pixel access: one detach check per primitive instead of one per row (scanLine).
struct Pixels {
    explicit Pixels(QImage& img) : base(img.bits()), bpl(img.bytesPerLine()) {}
    quint32* row(int y) const { return reinterpret_cast<quint32*>(base + qsizetype(y) * bpl); }
    uchar* base;
    qsizetype bpl;
};

// Minor-axis offset of step k of a Bresenham line with major length dmaj and minor length
// dmin (0 ≤ k ≤ dmaj, dmin ≤ dmaj, dmaj > 0): round(k * dmin / dmaj), halves rounded up (away
// from the start). Lines longer than 2^31 pixels (coordinates near the int limits) need 128
// bits for 2 * k * dmin; all others stay in 64.
inline int64_t minorAt(int64_t k, int64_t dmin, int64_t dmaj) {
    if (dmaj <= INT32_MAX)
        return (2 * k * dmin + dmaj) / (2 * dmaj);
    return int64_t((2 * __int128(k) * dmin + dmaj) / (2 * __int128(dmaj)));
}

// Half-open pixel range [first, last) of an axis-parallel line from `from` to `to`, clipped to
// [0, limit). The start pixel is always drawn, the end pixel only `withEnd`, in either
// direction.
inline std::pair<int64_t, int64_t> axisSpan(int from, int to, bool withEnd, int limit) {
    int64_t first = from, last = int64_t(to) + (withEnd ? 1 : 0);
    if (to < from) {
        first = int64_t(to) + (withEnd ? 0 : 1);
        last = int64_t(from) + 1;
    }
    return {std::max<int64_t>(first, 0), std::min<int64_t>(last, limit)};
}

// Narrows the steps kLo … kHi of a line to those whose minor coordinate min0 + smin·minorAt(k)
// lies in [0, minLimit). minorAt grows with k, so the first and last such k are found by
// bisection. Leaves kLo > kHi when there is none.
void clipMinor(int64_t& kLo, int64_t& kHi, int64_t min0, int64_t smin, int64_t dmin, int64_t dmaj,
               int64_t minLimit) {
    auto minorOf = [&](int64_t k) { return min0 + smin * minorAt(k, dmin, dmaj); };
    auto inside = [&](int64_t k) {
        const int64_t m = minorOf(k);
        return m >= 0 && m < minLimit;
    };
    auto beforeRange = [&](int64_t k) { // true while the line has not reached the image yet
        const int64_t m = minorOf(k);
        return smin > 0 ? m < 0 : m >= minLimit;
    };
    {
        int64_t lo = kLo, hi = kHi + 1; // first k not before the range
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (beforeRange(mid))
                lo = mid + 1;
            else
                hi = mid;
        }
        kLo = lo;
    }
    if (kLo > kHi || !inside(kLo)) {
        kLo = kHi + 1;
        return;
    }
    {
        int64_t lo = kLo, hi = kHi; // last k inside
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (inside(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        kHi = lo;
    }
}

// A horizontal or vertical line in the pixel value c, clipped to the w × h pixels: the start
// pixel always, the end pixel only `withEnd`. False when the line is neither.
bool drawAxisLine(const Pixels& px, int w, int h, int x1, int y1, int x2, int y2, quint32 c,
                  bool withEnd) {
    if (y1 == y2) {
        if (y1 < 0 || y1 >= h)
            return true;
        const auto [a, b] = axisSpan(x1, x2, withEnd, w);
        if (a < b)
            fillSpan(px.row(y1) + a, qsizetype(b - a), c);
        return true;
    }
    if (x1 == x2) {
        if (x1 < 0 || x1 >= w)
            return true;
        const auto [a, b] = axisSpan(y1, y2, withEnd, h);
        for (int64_t y = a; y < b; ++y)
            px.row(int(y))[x1] = c;
        return true;
    }
    return false;
}

// A sloped line along its longer (major) axis, x when both are as long: step k goes to
// maj0 + smaj·k on the major axis and min0 + smin·minorAt(k, dmin, dmaj) on the minor one.
struct SlopedLine {
    bool xMajor;
    int64_t dmaj, dmin; // lengths
    int64_t smaj, smin; // directions, ±1
    int64_t maj0, min0; // the start
    int64_t majLimit, minLimit;
};

SlopedLine slopedLine(int x1, int y1, int x2, int y2, int w, int h) {
    const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    SlopedLine s;
    s.xMajor = xMajor;
    s.dmaj = xMajor ? std::llabs(dx) : std::llabs(dy);
    s.dmin = xMajor ? std::llabs(dy) : std::llabs(dx);
    s.smaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    s.smin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    s.maj0 = xMajor ? x1 : y1;
    s.min0 = xMajor ? y1 : x1;
    s.majLimit = xMajor ? w : h;
    s.minLimit = xMajor ? h : w;
    return s;
}

// Narrows the steps kLo … kHi to those inside the image on both axes; leaves kLo > kHi when
// none is.
void clipSteps(const SlopedLine& s, int64_t& kLo, int64_t& kHi) {
    // The major axis: maj0 + smaj·k in [0, majLimit).
    if (s.smaj > 0) {
        kLo = std::max(kLo, -s.maj0);
        kHi = std::min(kHi, s.majLimit - 1 - s.maj0);
    } else {
        kLo = std::max(kLo, s.maj0 - (s.majLimit - 1));
        kHi = std::min(kHi, s.maj0);
    }
    if (kLo > kHi)
        return;
    // The minor axis. A line between two points inside the image (most of the chart's) needs
    // no clipping: its minor coordinates lie between theirs.
    const int64_t min1 = s.min0 + s.smin * s.dmin;
    if (s.min0 < 0 || s.min0 >= s.minLimit || min1 < 0 || min1 >= s.minLimit)
        clipMinor(kLo, kHi, s.min0, s.smin, s.dmin, s.dmaj, s.minLimit);
}

// Sets the pixels of steps kLo … kHi (all inside the image) in the pixel value c.
void plotSteps(const Pixels& px, const SlopedLine& s, int64_t kLo, int64_t kHi, quint32 c) {
    // Carries minorAt(k) = floor(num / den) with num = 2·k·dmin + dmaj and den = 2·dmaj as
    // quotient q and remainder r: each step adds 2·dmin ≤ den to num, so q grows by at most
    // one. No division per pixel.
    const int64_t den = 2 * s.dmaj, inc = 2 * s.dmin;
    const int64_t smaj = s.smaj, smin = s.smin, min0 = s.min0;
    const bool xMajor = s.xMajor;
    int64_t q, r;
    if (s.dmaj <= INT32_MAX) {
        const int64_t num = 2 * kLo * s.dmin + s.dmaj;
        q = num / den;
        r = num - q * den;
    } else {
        const __int128 num = 2 * __int128(kLo) * s.dmin + s.dmaj;
        q = int64_t(num / den);
        r = int64_t(num - __int128(q) * den);
    }
    int64_t maj = s.maj0 + smaj * kLo;
    for (int64_t k = kLo; k <= kHi; ++k, maj += smaj) {
        const int64_t mn = min0 + smin * q;
        if (xMajor)
            px.row(int(mn))[maj] = c;
        else
            px.row(int(maj))[mn] = c;
        r += inc;
        if (r >= den) {
            r -= den;
            ++q;
        }
    }
}

// The line in the pixel value c (as stored in img, which has a 32-bit format).
void drawLine(QImage& img, int x1, int y1, int x2, int y2, quint32 c, bool withEnd) {
    const int w = img.width(), h = img.height();
    if (w <= 0 || h <= 0)
        return;
    const Pixels px(img);
    // Horizontal and vertical lines are most of the chart (frame, ticks, wicks, dots).
    if (drawAxisLine(px, w, h, x1, y1, x2, y2, c, withEnd))
        return;
    // Steps k = 0 … len-1 (… len with the end point) along the major axis.
    const SlopedLine s = slopedLine(x1, y1, x2, y2, w, h);
    int64_t kLo = 0, kHi = withEnd ? s.dmaj : s.dmaj - 1;
    clipSteps(s, kLo, kHi);
    if (kLo <= kHi)
        plotSteps(px, s, kLo, kHi, c);
}

} // namespace

void fill(QImage& img, int x1, int y1, int x2, int y2, quint32 colour) {
    const std::optional<quint32> value = pixelValue(img, colour);
    if (!value)
        return;
    const quint32 c = *value;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, img.width());
    y2 = std::min(y2, img.height());
    if (x1 >= x2 || y1 >= y2)
        return;
    const Pixels px(img);
    const qsizetype n = x2 - x1;
    if (n * qsizetype(sizeof(quint32)) == px.bpl) { // whole rows without padding: one run
        fillSpan(px.row(y1), n * (y2 - y1), c);
        return;
    }
    for (int y = y1; y < y2; ++y)
        fillSpan(px.row(y) + x1, n, c);
}

void line(QImage& img, int x1, int y1, int x2, int y2, quint32 c) {
    if (const std::optional<quint32> value = pixelValue(img, c))
        drawLine(img, x1, y1, x2, y2, *value, false);
}

void lineWithEnd(QImage& img, int x1, int y1, int x2, int y2, quint32 c) {
    if (const std::optional<quint32> value = pixelValue(img, c))
        drawLine(img, x1, y1, x2, y2, *value, true);
}

void setPixel(QImage& img, int x, int y, quint32 c) {
    const std::optional<quint32> value = pixelValue(img, c);
    if (value && x >= 0 && y >= 0 && x < img.width() && y < img.height())
        Pixels(img).row(y)[x] = *value;
}

namespace {

// ceil(n / d) for d > 0.
template <typename T> T ceilDiv(T n, T d) {
    const T q = n / d;
    return q + T(q * d < n);
}

// Fills the rows of a polygon in exact integer arithmetic, T wide enough for its coordinates.
// `crossings` has room for `count` values (at most one crossing per edge and row).
template <typename T>
void fillPolygonRows(const Pixels& px, int w, int rowFirst, int rowLast, const QPoint* pts,
                     int count, quint32 c, int64_t* crossings) {
    for (int y = rowFirst; y <= rowLast; ++y) {
        int nx = 0;
        for (int i = 0; i < count; ++i) {
            const QPoint& a = pts[i];
            const QPoint& b = pts[i + 1 == count ? 0 : i + 1];
            if (a.y() == b.y())
                continue;
            // Top end (tx, ty), bottom end (bx, by); the edge spans rows ty ≤ y < by, so a
            // top edge is inside and a bottom edge outside.
            const bool down = a.y() < b.y();
            const T tx = down ? a.x() : b.x(), ty = down ? a.y() : b.y();
            const T bx = down ? b.x() : a.x(), by = down ? b.y() : a.y();
            if (y < ty || y >= by)
                continue;
            // The edge crosses the row's centre line y + ½ at x = tx + (y + ½ − ty)(bx − tx) /
            // (by − ty) = N / (2D). The first pixel whose centre x + ½ lies at or right of it:
            // ceil((N − D) / (2D)). A centre on a left edge is thus inside, on a right edge
            // outside.
            const T d = by - ty;
            const T n = 2 * tx * d + (2 * (T(y) - ty) + 1) * (bx - tx);
            crossings[nx++] = int64_t(ceilDiv<T>(n - d, 2 * d));
        }
        std::sort(crossings, crossings + nx);
        quint32* r = px.row(y);
        for (int i = 0; i + 1 < nx; i += 2) {
            const int64_t xa = std::clamp<int64_t>(crossings[i], 0, w);
            const int64_t xb = std::clamp<int64_t>(crossings[i + 1], 0, w);
            if (xa < xb)
                fillSpan(r + xa, qsizetype(xb - xa), c);
        }
    }
}

// The polygon in the pixel value c (as stored in img, which has a 32-bit format).
void fillPolygon(QImage& img, const QPoint* pts, int count, quint32 c) {
    const int w = img.width(), h = img.height();
    if (count < 3 || w <= 0 || h <= 0)
        return;
    int64_t yMin = pts[0].y(), yMax = pts[0].y();
    int64_t extent = 0; // largest coordinate magnitude
    for (int i = 0; i < count; ++i) {
        yMin = std::min<int64_t>(yMin, pts[i].y());
        yMax = std::max<int64_t>(yMax, pts[i].y());
        extent = std::max({extent, std::abs(int64_t(pts[i].x())), std::abs(int64_t(pts[i].y()))});
    }
    // Rows whose centre y + 0.5 lies in [yMin, yMax).
    const int rowFirst = int(std::max<int64_t>(yMin, 0));
    const int rowLast = int(std::min<int64_t>(yMax - 1, h - 1));
    if (rowFirst > rowLast)
        return;
    const Pixels px(img);
    int64_t small[16];
    std::vector<int64_t> large;
    int64_t* crossings = small;
    if (count > int(std::size(small))) {
        large.resize(size_t(count));
        crossings = large.data();
    }
    // 2 · x · D and (2y + 1) · dx stay below 2^62 while coordinates stay below 2^29.
    if (extent < (int64_t(1) << 29))
        fillPolygonRows<int64_t>(px, w, rowFirst, rowLast, pts, count, c, crossings);
    else
        fillPolygonRows<__int128>(px, w, rowFirst, rowLast, pts, count, c, crossings);
}

} // namespace

void polygon(QImage& img, const QPoint* pts, int count, quint32 c) {
    if (const std::optional<quint32> value = pixelValue(img, c))
        fillPolygon(img, pts, count, *value);
}

void drawWideLine(QImage& img, const std::vector<QPoint>& points, int width, quint32 c) {
    const std::optional<quint32> value = pixelValue(img, c);
    if (!value || points.size() < 2)
        return;
    if (width <= 1) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            drawLine(img, points[i].x(), points[i].y(), points[i + 1].x(), points[i + 1].y(),
                     *value, true);
        return;
    }
    const int a = width / 2, b = width - a;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const int x0 = points[i].x(), y0 = points[i].y();
        const int x1 = points[i + 1].x(), y1 = points[i + 1].y();
        const QPoint side[4] = {{x0 - a, y0}, {x0 + b, y0}, {x1 + b, y1}, {x1 - a, y1}};
        fillPolygon(img, side, 4, *value);
        const QPoint vert[4] = {{x0, y0 + b}, {x0, y0 - a}, {x1, y1 - a}, {x1, y1 + b}};
        fillPolygon(img, vert, 4, *value);
    }
}

} // namespace kovan::raster
