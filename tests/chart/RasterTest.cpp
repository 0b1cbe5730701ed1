#include "chart/Raster.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>
#include <set>
#include <stdexcept>
#include <utility>

using namespace kovan;

namespace {

constexpr quint32 bg = 0xFF000000, ink = 0xFFFFFFFF;

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(bg);
    return img;
}

std::set<std::pair<int, int>> inked(const QImage& img) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == ink)
                s.insert({x, y});
    return s;
}

using Pixels = std::set<std::pair<int, int>>;

} // namespace

TEST(ChartRaster, FillIsHalfOpenAndClipped) {
    QImage img = blank(10, 10);
    raster::fill(img, 2, 3, 5, 4, ink);
    EXPECT_EQ(inked(img), (Pixels{{2, 3}, {3, 3}, {4, 3}}));
    img = blank(4, 4);
    raster::fill(img, -100, -100, 1000000, 1, ink);
    EXPECT_EQ(inked(img), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    img = blank(4, 4);
    raster::fill(img, 3, 3, 2, 5, ink); // empty: x2 < x1
    EXPECT_TRUE(inked(img).empty());
}

struct LineCase {
    int x1, y1, x2, y2;
    Pixels expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")";
}

class ChartRasterLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ChartRasterLine, LeavesOutTheEndPoint) {
    const LineCase c = GetParam();
    QImage img = blank(12, 12);
    raster::line(img, c.x1, c.y1, c.x2, c.y2, ink);
    EXPECT_EQ(inked(img), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Chart, ChartRasterLine,
                         ::testing::Values(LineCase{0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
                                           LineCase{4, 0, 0, 0, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
                                           LineCase{1, 1, 1, 4, {{1, 1}, {1, 2}, {1, 3}}},
                                           LineCase{1, 4, 1, 1, {{1, 4}, {1, 3}, {1, 2}}},
                                           LineCase{3, 5, 4, 5, {{3, 5}}}, // the dotted-line pixel
                                           LineCase{3, 5, 3, 5, {}},
                                           LineCase{0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
                                           LineCase{0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
                                           LineCase{-5, 2, 3, 2, {{0, 2}, {1, 2}, {2, 2}}},
                                           LineCase{2,
                                                    -1000000,
                                                    2,
                                                    1000000,
                                                    {{2, 0},
                                                     {2, 1},
                                                     {2, 2},
                                                     {2, 3},
                                                     {2, 4},
                                                     {2, 5},
                                                     {2, 6},
                                                     {2, 7},
                                                     {2, 8},
                                                     {2, 9},
                                                     {2, 10},
                                                     {2, 11}}}));

TEST(ChartRaster, LineWithEndAddsExactlyTheEndPoint) {
    QImage a = blank(12, 12), b = blank(12, 12);
    raster::line(a, 1, 2, 9, 7, ink);
    raster::lineWithEnd(b, 1, 2, 9, 7, ink);
    Pixels pa = inked(a);
    pa.insert({9, 7});
    EXPECT_EQ(inked(b), pa);
}

// Clipping must not move a single pixel: a line drawn on a small image equals the same line
// drawn on a large one, cut out.
TEST(ChartRaster, ClippedLinesKeepTheirPixels) {
    std::mt19937 gen(99);
    std::uniform_int_distribution<int> coord(-60, 100);
    for (int i = 0; i < 400; ++i) {
        const int x1 = coord(gen), y1 = coord(gen), x2 = coord(gen), y2 = coord(gen);
        QImage big = blank(300, 300), small = blank(40, 30);
        raster::line(big, x1 + 100, y1 + 100, x2 + 100, y2 + 100, ink);
        raster::line(small, x1, y1, x2, y2, ink);
        ASSERT_EQ(big.copy(100, 100, 40, 30), small) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}

TEST(ChartRaster, HugeCoordinatesAreClippedCheaply) {
    QImage img = blank(10, 10);
    raster::line(img, -1000000000, -1000000000, 1000000000, 1000000000, ink);
    EXPECT_EQ(inked(img).size(), 10u);
    raster::lineWithEnd(img, 1 << 30, 5, -(1 << 30), 6, ink);
    raster::fill(img, -(1 << 30), -(1 << 30), 1 << 30, 1 << 30, ink);
    EXPECT_EQ(inked(img).size(), 100u);
}

TEST(ChartRaster, PolygonFillsPixelCentresWithoutSmoothing) {
    QImage img = blank(10, 10);
    const QPoint square[4] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    raster::polygon(img, square, 4, ink);
    EXPECT_EQ(inked(img).size(), 12u); // 4 x 3, right and bottom edges outside
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_TRUE(img.pixel(x, y) == ink || img.pixel(x, y) == bg); // no blending
    img = blank(10, 10);
    const QPoint flat[4] = {{1, 3}, {8, 3}, {8, 3}, {1, 3}};
    raster::polygon(img, flat, 4, ink);
    EXPECT_TRUE(inked(img).empty());
}

TEST(ChartRaster, WideLineOfWidthOneIncludesEndPoints) {
    QImage img = blank(12, 12);
    raster::drawWideLine(img, {{1, 1}, {4, 1}, {4, 3}}, 1, ink);
    EXPECT_EQ(inked(img), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}));
    img = blank(12, 12);
    raster::drawWideLine(img, {{1, 1}}, 3, ink);
    EXPECT_TRUE(inked(img).empty());
}

struct WideCase {
    int width;
    int rowFrom, rowTo; // rows covered by a horizontal segment at y = 5
};

void PrintTo(const WideCase& c, std::ostream* os) {
    *os << "width " << c.width;
}

class ChartRasterWideLine : public ::testing::TestWithParam<WideCase> {};

TEST_P(ChartRasterWideLine, HorizontalSegmentIsWidthRowsThick) {
    const WideCase c = GetParam();
    QImage img = blank(20, 12);
    raster::drawWideLine(img, {{2, 5}, {12, 5}}, c.width, ink);
    Pixels expected;
    for (int y = c.rowFrom; y <= c.rowTo; ++y)
        for (int x = 2; x < 12; ++x)
            expected.insert({x, y});
    EXPECT_EQ(inked(img), expected);
}

INSTANTIATE_TEST_SUITE_P(Chart, ChartRasterWideLine,
                         ::testing::Values(WideCase{2, 4, 5}, WideCase{3, 4, 6}, WideCase{4, 3, 6},
                                           WideCase{5, 3, 7}));

TEST(ChartRaster, WideVerticalSegmentIsWidthColumnsWide) {
    QImage img = blank(12, 12);
    raster::drawWideLine(img, {{5, 2}, {5, 9}}, 3, ink);
    Pixels expected;
    for (int y = 2; y < 9; ++y)
        for (int x = 4; x <= 6; ++x)
            expected.insert({x, y});
    EXPECT_EQ(inked(img), expected);
}

// ---- image formats -----------------------------------------------------------------------

namespace {

// Every primitive once, drawing something visible on a 12 × 12 image.
void drawAll(QImage& img, quint32 c) {
    raster::fill(img, 1, 1, 3, 3, c);
    raster::line(img, 0, 5, 11, 9, c);
    raster::lineWithEnd(img, 4, 0, 6, 11, c);
    raster::setPixel(img, 10, 1, c);
    const QPoint tri[3] = {{7, 2}, {11, 2}, {9, 6}};
    raster::polygon(img, tri, 3, c);
    raster::drawWideLine(img, {{1, 10}, {6, 8}}, 3, c);
    raster::drawWideLine(img, {{1, 7}, {3, 7}}, 1, c);
}

class ChartRasterFormat : public ::testing::TestWithParam<QImage::Format> {};

TEST_P(ChartRasterFormat, ThirtyTwoBitFormatsDrawTheSamePixels) {
    QImage ref = blank(12, 12);
    drawAll(ref, ink);
    QImage img(12, 12, GetParam());
    img.fill(bg);
    drawAll(img, ink);
    EXPECT_EQ(inked(img), inked(ref));
    EXPECT_GT(inked(img).size(), 30u);
}

INSTANTIATE_TEST_SUITE_P(Chart, ChartRasterFormat,
                         ::testing::Values(QImage::Format_ARGB32,
                                           QImage::Format_ARGB32_Premultiplied,
                                           QImage::Format_RGB32));

class ChartRasterRefusedFormat : public ::testing::TestWithParam<QImage::Format> {};

// Each primitive refuses the image before writing anything, even where it would clip
// everything away or has too few points to draw.
TEST_P(ChartRasterRefusedFormat, EveryPrimitiveThrowsAndLeavesTheImageAlone) {
    QImage img(12, 12, GetParam());
    img.fill(0);
    // Raw bytes: QImage's own comparison needs a colour table for indexed formats.
    auto bytes = [](const QImage& i) {
        return QByteArray(reinterpret_cast<const char*>(i.constBits()), i.sizeInBytes());
    };
    const QByteArray before = bytes(img);
    const QPoint tri[3] = {{0, 0}, {9, 0}, {0, 9}};
    EXPECT_THROW(raster::fill(img, 0, 0, 12, 12, ink), std::invalid_argument);
    EXPECT_THROW(raster::fill(img, 50, 50, 60, 60, ink), std::invalid_argument);
    EXPECT_THROW(raster::line(img, 0, 0, 11, 7, ink), std::invalid_argument);
    EXPECT_THROW(raster::line(img, 3, 3, 3, 3, ink), std::invalid_argument);
    EXPECT_THROW(raster::lineWithEnd(img, 0, 4, 11, 4, ink), std::invalid_argument);
    EXPECT_THROW(raster::setPixel(img, 1, 1, ink), std::invalid_argument);
    EXPECT_THROW(raster::setPixel(img, -1, 1, ink), std::invalid_argument);
    EXPECT_THROW(raster::polygon(img, tri, 3, ink), std::invalid_argument);
    EXPECT_THROW(raster::drawWideLine(img, {{0, 0}, {9, 9}}, 3, ink), std::invalid_argument);
    EXPECT_THROW(raster::drawWideLine(img, {{0, 0}}, 3, ink), std::invalid_argument);
    EXPECT_EQ(bytes(img), before);
}

INSTANTIATE_TEST_SUITE_P(Chart, ChartRasterRefusedFormat,
                         ::testing::Values(QImage::Format_RGBA8888, QImage::Format_RGBX8888,
                                           QImage::Format_A2RGB30_Premultiplied,
                                           QImage::Format_RGB888, QImage::Format_RGB16,
                                           QImage::Format_ARGB8565_Premultiplied,
                                           QImage::Format_Grayscale8, QImage::Format_Indexed8,
                                           QImage::Format_Mono, QImage::Format_RGBA64));

TEST(ChartRaster, NullImageDrawsNothingWithoutError) {
    QImage img;
    EXPECT_NO_THROW(drawAll(img, ink));
    EXPECT_TRUE(img.isNull());
}

TEST(ChartRaster, ColoursAreStoredAsTheFormatWantsThem) {
    // RGB32 keeps its alpha byte at 0xFF even for the transparent colour 0.
    QImage rgb(2, 1, QImage::Format_RGB32);
    rgb.fill(0xFFFFFFFF);
    raster::setPixel(rgb, 0, 0, 0);
    EXPECT_EQ(reinterpret_cast<const quint32*>(rgb.constScanLine(0))[0], 0xFF000000u);
    // ARGB32_Premultiplied stores premultiplied values; ARGB32 the colour as given.
    const quint32 half = 0x80FF4000;
    QImage pm(1, 1, QImage::Format_ARGB32_Premultiplied), plain(1, 1, QImage::Format_ARGB32);
    pm.fill(0);
    plain.fill(0);
    raster::fill(pm, 0, 0, 1, 1, half);
    raster::fill(plain, 0, 0, 1, 1, half);
    EXPECT_EQ(reinterpret_cast<const quint32*>(pm.constScanLine(0))[0], qPremultiply(half));
    EXPECT_EQ(reinterpret_cast<const quint32*>(plain.constScanLine(0))[0], half);
    // Opaque colours and 0 are stored unchanged in both.
    raster::fill(pm, 0, 0, 1, 1, ink);
    EXPECT_EQ(reinterpret_cast<const quint32*>(pm.constScanLine(0))[0], ink);
}

} // namespace
