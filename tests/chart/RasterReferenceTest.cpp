// The raster primitives against a reference written the simple way: per pixel, from the
// definitions, in exact integer arithmetic.
//
// Line: the start pixel is drawn, the end pixel only by lineWithEnd. Along the longer axis
// (x when both are equal) every column (row) between them gets the one pixel whose centre is
// nearest to the ideal line; a tie goes to the pixel on the end point's side.
//
// Polygon: a pixel is filled when its centre (x + ½, y + ½) is inside by the even-odd rule,
// with left edges inside and right edges outside (an odd number of edge crossings at or left
// of the centre) and top edges inside, bottom edges outside (an edge spans the rows whose
// centre y satisfies top ≤ y < bottom). Polygons sharing an edge thus never overlap.

#include "chart/Raster.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <climits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace kovan;

namespace {

using i128 = __int128;

constexpr quint32 bg = 0xFF000000, ink = 0xFFFFFFFF;

// Pixels as a mask, row-major.
struct Mask {
    int w = 0, h = 0;
    std::vector<unsigned char> on;
    Mask(int w_, int h_) : w(w_), h(h_), on(size_t(w_) * size_t(h_), 0) {}
    unsigned char& at(int x, int y) { return on[size_t(y) * size_t(w) + size_t(x)]; }
    unsigned char at(int x, int y) const { return on[size_t(y) * size_t(w) + size_t(x)]; }
    size_t count() const { return size_t(std::count(on.begin(), on.end(), 1)); }
    bool operator==(const Mask& o) const { return w == o.w && h == o.h && on == o.on; }
};

Mask inkOf(const QImage& img) {
    Mask m(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            m.at(x, y) = img.pixel(x, y) == ink;
    return m;
}

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(bg);
    return img;
}

// The pixels where two masks differ, for the failure message.
std::string differences(const Mask& got, const Mask& want) {
    std::ostringstream os;
    int shown = 0;
    for (int y = 0; y < got.h; ++y)
        for (int x = 0; x < got.w; ++x)
            if (got.at(x, y) != want.at(x, y) && shown++ < 8)
                os << " (" << x << "," << y << (got.at(x, y) ? " extra)" : " missing)");
    return os.str();
}

// ---- reference line --------------------------------------------------------------------

int sign(i128 v) {
    return (v > 0) - (v < 0);
}

bool onLine(int px, int py, int x1, int y1, int x2, int y2, bool withEnd) {
    const i128 dx = i128(x2) - x1, dy = i128(y2) - y1;
    if (dx == 0 && dy == 0)
        return withEnd && px == x1 && py == y1;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    // Major and minor coordinates of the pixel, the start and the deltas.
    const i128 pm = xMajor ? px : py, pn = xMajor ? py : px;
    const i128 m1 = xMajor ? x1 : y1, n1 = xMajor ? y1 : x1;
    const i128 dm = xMajor ? dx : dy, dn = xMajor ? dy : dx;
    // Between the start (inclusive) and the end (inclusive only with the end point).
    const i128 k = (pm - m1) * sign(dm); // steps from the start
    const i128 len = dm < 0 ? -dm : dm;
    if (k < 0 || k > len || (k == len && !withEnd))
        return false;
    // e = |dm| × (pn − ideal minor coordinate at pm).
    const i128 e = (pn - n1) * len - k * dn;
    const i128 ae = e < 0 ? -e : e;
    return 2 * ae < len || (2 * ae == len && sign(e) == sign(dn));
}

Mask referenceLine(int w, int h, int x1, int y1, int x2, int y2, bool withEnd) {
    Mask m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at(x, y) = onLine(x, y, x1, y1, x2, y2, withEnd);
    return m;
}

// ---- reference polygon -----------------------------------------------------------------

bool insidePolygon(int px, int py, const std::vector<QPoint>& pts) {
    // Doubled coordinates: the centre is (2px + 1, 2py + 1), vertices are even.
    const i128 cx = 2 * i128(px) + 1, cy = 2 * i128(py) + 1;
    int crossings = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const QPoint a = pts[i], b = pts[(i + 1) % pts.size()];
        const i128 ax = 2 * i128(a.x()), ay = 2 * i128(a.y());
        const i128 bx = 2 * i128(b.x()), by = 2 * i128(b.y());
        if (ay == by || cy < std::min(ay, by) || cy >= std::max(ay, by))
            continue;
        // The edge's x at cy is ≤ cx ⇔ (ax − cx)(by − ay) + (cy − ay)(bx − ax) ≤ 0 for a
        // downward edge (by > ay), ≥ 0 for an upward one.
        const i128 s = (ax - cx) * (by - ay) + (cy - ay) * (bx - ax);
        if (by > ay ? s <= 0 : s >= 0)
            ++crossings;
    }
    return crossings % 2 == 1;
}

Mask referencePolygon(int w, int h, const std::vector<QPoint>& pts) {
    Mask m(w, h);
    if (pts.size() < 3)
        return m;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at(x, y) = insidePolygon(x, y, pts);
    return m;
}

Mask drawnPolygon(int w, int h, const std::vector<QPoint>& pts) {
    QImage img = blank(w, h);
    raster::polygon(img, pts.data(), int(pts.size()), ink);
    return inkOf(img);
}

std::string describe(const std::vector<QPoint>& pts) {
    std::ostringstream os;
    for (const QPoint& p : pts)
        os << "(" << p.x() << "," << p.y() << ")";
    return os.str();
}

// ---- random cases ----------------------------------------------------------------------

// Coordinates from a few scales: around the image, well outside it, and near the int limits.
struct Coords {
    std::mt19937 gen;
    explicit Coords(unsigned seed) : gen(seed) {}
    int near(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); }
    int any(int size) {
        switch (near(0, 9)) {
        case 0:
            return near(-100000, 100000);
        case 1:
            return near(-1000000000, 1000000000);
        case 2:
            return near(0, 1) ? INT_MAX - near(0, 3) : INT_MIN + near(0, 3);
        default:
            return near(-size / 2, size + size / 2);
        }
    }
};

struct Size {
    int w, h;
};
constexpr Size sizes[] = {{40, 30}, {1, 1}, {1, 17}, {23, 1}, {7, 9}};

} // namespace

// ---- lines -----------------------------------------------------------------------------

struct LineEdge {
    int x1, y1, x2, y2;
};

TEST(ChartRasterReference, LinesMatchTheReferenceOnEdgeCases) {
    const std::vector<LineEdge> cases = {{0, 0, 0, 0},
                                         {3, 4, 3, 4},
                                         {0, 0, 10, 0},
                                         {10, 0, 0, 0},
                                         {2, 0, 2, 20},
                                         {2, 20, 2, 0},
                                         {0, 0, 9, 9},
                                         {9, 9, 0, 0},
                                         {0, 9, 9, 0},
                                         {0, 0, 4, 2},
                                         {4, 2, 0, 0},
                                         {0, 0, 2, 4},
                                         {2, 4, 0, 0},
                                         {0, 0, 6, 3},
                                         {6, 3, 0, 0},
                                         {0, 3, 6, 0},
                                         {1, 1, 2, 2},
                                         {1, 1, 2, 1},
                                         {5, 5, 6, 7},
                                         {0, 0, 39, 29},
                                         {39, 29, 0, 0},
                                         {-5, 2, 3, 2},
                                         {-10, -5, 50, 25},
                                         {50, 25, -10, -5},
                                         {0, 0, 1, 1000},
                                         {0, 0, 1000, 1},
                                         {-3, 15, 45, 14},
                                         {20, -1, 21, 31},
                                         {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                                         {INT_MAX, 5, INT_MIN, 6},
                                         {5, INT_MIN, 6, INT_MAX},
                                         {INT_MIN, 3, INT_MIN + 1, 3}};
    for (const Size sz : sizes)
        for (const LineEdge& c : cases)
            for (bool withEnd : {false, true}) {
                QImage img = blank(sz.w, sz.h);
                if (withEnd)
                    raster::lineWithEnd(img, c.x1, c.y1, c.x2, c.y2, ink);
                else
                    raster::line(img, c.x1, c.y1, c.x2, c.y2, ink);
                const Mask got = inkOf(img);
                const Mask want = referenceLine(sz.w, sz.h, c.x1, c.y1, c.x2, c.y2, withEnd);
                ASSERT_TRUE(got == want)
                    << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ") end "
                    << withEnd << " on " << sz.w << "x" << sz.h << ":" << differences(got, want);
            }
}

TEST(ChartRasterReference, RandomLinesMatchTheReference) {
    Coords r(20240611);
    int drawn = 0;
    for (int i = 0; i < 6000; ++i) {
        const Size sz = sizes[size_t(i) % std::size(sizes)];
        const int x1 = r.any(sz.w), y1 = r.any(sz.h), x2 = r.any(sz.w), y2 = r.any(sz.h);
        const bool withEnd = i % 2 == 1;
        QImage img = blank(sz.w, sz.h);
        if (withEnd)
            raster::lineWithEnd(img, x1, y1, x2, y2, ink);
        else
            raster::line(img, x1, y1, x2, y2, ink);
        const Mask got = inkOf(img);
        const Mask want = referenceLine(sz.w, sz.h, x1, y1, x2, y2, withEnd);
        ASSERT_TRUE(got == want) << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") end "
                                 << withEnd << " on " << sz.w << "x" << sz.h << ":"
                                 << differences(got, want);
        drawn += got.count() > 0;
    }
    EXPECT_GT(drawn, 2000); // most cases cross the image
}

// ---- polygons --------------------------------------------------------------------------

TEST(ChartRasterReference, PolygonsMatchTheReferenceOnEdgeCases) {
    const std::vector<std::vector<QPoint>> cases = {
        {{1, 1}, {5, 1}, {5, 4}, {1, 4}},       // rectangle
        {{5, 4}, {1, 4}, {1, 1}, {5, 1}},       // the same, other start
        {{1, 1}, {1, 4}, {5, 4}, {5, 1}},       // the same, other winding
        {{1, 3}, {8, 3}, {8, 3}, {1, 3}},       // no area
        {{10, 0}, {20, 10}, {10, 20}, {0, 10}}, // diamond: centres on every edge
        {{0, 0}, {1, 1}, {0, 2}},               // thin, centre on both edges
        {{0, 0}, {3, 3}, {0, 6}},               //
        {{0, 0}, {7, 7}, {14, 0}, {7, 21}},     // concave
        {{2, 2}, {30, 2}, {2, 25}, {30, 25}},   // bow tie (self-crossing)
        {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}, {0, 20}},
        {{-100, -100}, {200, -50}, {30, 300}},          // larger than the image
        {{-1000000, 15}, {1000000, 14}, {1000000, 16}}, // long and thin
        {{INT_MIN / 2, INT_MIN / 2}, {INT_MAX / 2, 0}, {0, INT_MAX / 2}},
        {{3, 1}, {4, 1}, {4, 30}},   // a sliver
        {{0, 0}, {49, 49}, {0, 49}}, // long odd/odd diagonal
        {{1, 0}, {50, 49}, {50, 0}},
        {{7, 3}, {30, 26}, {7, 26}},
        {{0, 0}, {3, 9}, {0, 9}}, // dx 3, dy 9: centres on the edge
        {{0, 0}, {5, 15}, {15, 15}},
    };
    for (const Size sz : {Size{40, 30}, Size{7, 9}, Size{1, 1}})
        for (const auto& pts : cases) {
            const Mask got = drawnPolygon(sz.w, sz.h, pts);
            const Mask want = referencePolygon(sz.w, sz.h, pts);
            ASSERT_TRUE(got == want)
                << describe(pts) << " on " << sz.w << "x" << sz.h << ":" << differences(got, want);
        }
}

TEST(ChartRasterReference, RandomPolygonsMatchTheReference) {
    Coords r(777);
    for (int i = 0; i < 3000; ++i) {
        const Size sz = i % 5 == 4 ? Size{7, 9} : Size{40, 30};
        const int count = i % 50 == 0 ? r.near(60, 140) : r.near(3, 9);
        std::vector<QPoint> pts;
        for (int k = 0; k < count; ++k)
            pts.emplace_back(i % 3 == 0 ? r.any(sz.w) : r.near(-10, sz.w + 10),
                             i % 3 == 0 ? r.any(sz.h) : r.near(-10, sz.h + 10));
        const Mask got = drawnPolygon(sz.w, sz.h, pts);
        const Mask want = referencePolygon(sz.w, sz.h, pts);
        ASSERT_TRUE(got == want) << "case " << i << " " << describe(pts) << ":"
                                 << differences(got, want);
    }
}

// The chart's wide lines are two parallelograms a segment (whole-pixel corners, odd and even
// slopes): the most common polygons the chart fills.
TEST(ChartRasterReference, WideLineQuadsMatchTheReference) {
    Coords r(4242);
    for (int i = 0; i < 4000; ++i) {
        const int width = r.near(2, 7), a = width / 2, b = width - a;
        const int x0 = r.near(-5, 40), y0 = r.near(-5, 35);
        const int x1 = x0 + r.near(0, 12), y1 = y0 + r.near(-25, 25);
        const std::vector<QPoint> side = {{x0 - a, y0}, {x0 + b, y0}, {x1 + b, y1}, {x1 - a, y1}};
        const std::vector<QPoint> vert = {{x0, y0 + b}, {x0, y0 - a}, {x1, y1 - a}, {x1, y1 + b}};
        for (const auto& quad : {side, vert}) {
            const Mask got = drawnPolygon(40, 30, quad);
            const Mask want = referencePolygon(40, 30, quad);
            ASSERT_TRUE(got == want) << describe(quad) << ":" << differences(got, want);
        }
    }
}

// ---- shared edges ----------------------------------------------------------------------

// Two triangles on either side of a shared edge cover the quadrilateral they make, each pixel
// once: no overlap and no gap.
TEST(ChartRasterReference, TrianglesSharingAnEdgeNeitherOverlapNorLeaveAGap) {
    Coords r(31337);
    int shared = 0;
    for (int i = 0; i < 3000; ++i) {
        const QPoint p(r.near(-5, 45), r.near(-5, 35)), q(r.near(-5, 45), r.near(-5, 35));
        const QPoint r1(r.near(-20, 60), r.near(-20, 50)), r2(r.near(-20, 60), r.near(-20, 50));
        // r1 and r2 strictly on opposite sides of the line pq.
        const qint64 s1 =
            qint64(q.x() - p.x()) * (r1.y() - p.y()) - qint64(q.y() - p.y()) * (r1.x() - p.x());
        const qint64 s2 =
            qint64(q.x() - p.x()) * (r2.y() - p.y()) - qint64(q.y() - p.y()) * (r2.x() - p.x());
        if (p == q || s1 == 0 || s2 == 0 || (s1 > 0) == (s2 > 0))
            continue;
        const Mask t1 = drawnPolygon(40, 30, {p, q, r1});
        const Mask t2 = drawnPolygon(40, 30, {q, p, r2});
        const Mask quad = drawnPolygon(40, 30, {p, r1, q, r2});
        for (size_t k = 0; k < quad.on.size(); ++k) {
            ASSERT_FALSE(t1.on[k] && t2.on[k])
                << "overlap at " << k % 40 << "," << k / 40 << " " << describe({p, q, r1, r2});
            ASSERT_EQ(t1.on[k] || t2.on[k], bool(quad.on[k]))
                << "gap or spill at " << k % 40 << "," << k / 40 << " " << describe({p, q, r1, r2});
        }
        ++shared;
    }
    EXPECT_GT(shared, 1000);
}

// Twice the signed area of a triangle (positive when clockwise on screen).
qint64 orientation(const QPoint& a, const QPoint& b, const QPoint& c) {
    return qint64(b.x() - a.x()) * (c.y() - a.y()) - qint64(b.y() - a.y()) * (c.x() - a.x());
}

// A jittered grid cut into triangles tiles its inside: every pixel whose centre lies inside the
// grid's outline is filled exactly once, and no pixel twice. (Grids where a triangle folds over,
// i.e. turns the other way, are no tiling and are skipped.)
TEST(ChartRasterReference, TriangulatedGridTilesWithoutOverlapOrGap) {
    Coords r(99);
    int tiled = 0;
    for (int round = 0; round < 60; ++round) {
        constexpr int cells = 6, pitch = 7, w = 50, h = 50;
        QPoint v[cells + 1][cells + 1];
        for (int j = 0; j <= cells; ++j)
            for (int i = 0; i <= cells; ++i) {
                // Border vertices stay on the outline (a square); inner ones move.
                const bool inner = i > 0 && j > 0 && i < cells && j < cells;
                v[j][i] = QPoint(4 + i * pitch + (inner ? r.near(-3, 3) : 0),
                                 4 + j * pitch + (inner ? r.near(-3, 3) : 0));
            }
        std::vector<std::vector<QPoint>> tris;
        for (int j = 0; j < cells; ++j)
            for (int i = 0; i < cells; ++i) {
                const QPoint a = v[j][i], b = v[j][i + 1], c = v[j + 1][i + 1], d = v[j + 1][i];
                if (r.near(0, 1) == 1) { // either diagonal
                    tris.push_back({a, b, c});
                    tris.push_back({a, c, d});
                } else {
                    tris.push_back({a, b, d});
                    tris.push_back({b, c, d});
                }
            }
        if (std::any_of(tris.begin(), tris.end(), [](const std::vector<QPoint>& t) {
                return orientation(t[0], t[1], t[2]) <= 0;
            }))
            continue;
        ++tiled;
        std::vector<int> covered(size_t(w * h), 0);
        for (const auto& t : tris) {
            const Mask m = drawnPolygon(w, h, t);
            for (size_t k = 0; k < m.on.size(); ++k)
                covered[k] += m.on[k];
        }
        // The outline is the square from 4 to 4 + 42: centres 4.5 … 45.5.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inside = x >= 4 && x < 46 && y >= 4 && y < 46;
                ASSERT_EQ(covered[size_t(y * w + x)], inside ? 1 : 0)
                    << "pixel " << x << "," << y << " round " << round;
            }
    }
    EXPECT_GT(tiled, 20);
}
