// The renderer's fast paths against straightforward versions of the same computation: wide
// vector span stores against a plain per-pixel loop, texts drawn from stored glyph runs
// through a painter kept open against QPainter::drawText on a fresh painter, the rounding
// helper against its floor-and-remainder definition. Each pair must agree exactly, on noise
// around and under the target, so that no pixel of a frame depends on which path drew it.

#include "ChartTestSupport.h"

#include "chart/ChartFont.h"
#include "chart/ChartGeometry.h"
#include "chart/Raster.h"
#include "chart/RasterSpan.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using namespace kovan;

namespace {

// Noise that no fill colour of these tests equals by chance often enough to hide a stray store.
void noise(uchar* bytes, size_t n, std::mt19937& rng) {
    for (size_t i = 0; i < n; ++i)
        bytes[i] = uchar(rng());
}

// A 32-bit image on its own buffer, `pad` bytes past each row (a stride wider than the pixels),
// every byte noise, padding included.
struct PaddedImage {
    PaddedImage(int w, int h, int pad, QImage::Format format, std::mt19937& rng)
        : bpl(qsizetype(w) * 4 + pad), bytes(size_t(bpl) * size_t(h) + 64) {
        // QImage wants 32-bit aligned rows: start on a 4-byte boundary of the buffer.
        const size_t skew = reinterpret_cast<uintptr_t>(bytes.data()) & 3;
        offset = skew ? 4 - skew : 0;
        noise(bytes.data(), bytes.size(), rng);
        image = QImage(bytes.data() + offset, w, h, bpl, format);
    }
    qsizetype bpl;
    std::vector<uchar> bytes;
    size_t offset = 0;
    QImage image;
};

// The value a colour is stored as in each format.
quint32 stored(QImage::Format format, quint32 c) {
    switch (format) {
    case QImage::Format_ARGB32:
        return c;
    case QImage::Format_RGB32:
        return c | 0xFF000000u;
    default:
        return qPremultiply(c);
    }
}

// fill(x1, y1, x2, y2) pixel by pixel into a copy of the buffer: inside the image and the
// half-open rectangle gets the stored colour, every other byte (padding too) stays.
std::vector<uchar> referenceFill(const PaddedImage& p, int x1, int y1, int x2, int y2, quint32 c) {
    std::vector<uchar> out = p.bytes;
    const quint32 v = stored(p.image.format(), c);
    for (int y = 0; y < p.image.height(); ++y)
        for (int x = 0; x < p.image.width(); ++x)
            if (x >= x1 && x < x2 && y >= y1 && y < y2)
                std::memcpy(out.data() + p.offset + size_t(y) * size_t(p.bpl) + size_t(x) * 4, &v,
                            4);
    return out;
}

} // namespace

TEST(ChartRasterFastPath, SpanStoresEveryPixelOfTheRunAndNothingAround) {
    std::mt19937 rng(7);
    constexpr int guard = 40;
    for (int start = 0; start < 16; ++start) { // every alignment against a 64-byte line
        for (int count = 0; count <= 300; ++count) {
            std::vector<quint32> buf(size_t(guard + 16 + count + guard));
            noise(reinterpret_cast<uchar*>(buf.data()), buf.size() * 4, rng);
            std::vector<quint32> want = buf;
            const quint32 value = quint32(rng());
            for (int i = 0; i < count; ++i) // the straightforward loop
                want[size_t(guard + start + i)] = value;
            raster::fillSpan(buf.data() + guard + start, count, value);
            ASSERT_EQ(buf, want) << "start " << start << " count " << count;
        }
    }
}

TEST(ChartRasterFastPath, SpanTakesNoNegativeCount) {
    quint32 buf[4] = {1, 2, 3, 4};
    raster::fillSpan(buf + 2, -5, 9);
    raster::fillSpanLong(buf + 2, -5, 9);
    EXPECT_EQ(buf[0] + buf[1] + buf[2] + buf[3], 10u);
}

TEST(ChartRasterFastPath, FillMatchesThePerPixelLoopInEveryFormatAndStride) {
    struct Case {
        QImage::Format format;
        int w, h, pad;
    };
    const Case cases[] = {
        {QImage::Format_ARGB32_Premultiplied, 532, 50, 0}, // whole rows in one run
        {QImage::Format_ARGB32_Premultiplied, 97, 31, 12},
        {QImage::Format_ARGB32, 64, 20, 0},
        {QImage::Format_ARGB32, 33, 17, 4},
        {QImage::Format_RGB32, 200, 9, 0},
        {QImage::Format_RGB32, 21, 40, 28},
        {QImage::Format_ARGB32_Premultiplied, 1, 5, 0},
        {QImage::Format_ARGB32_Premultiplied, 17, 3, 60},
    };
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        for (int round = 0; round < 60; ++round) {
            PaddedImage p(c.w, c.h, c.pad, c.format, rng);
            int x1 = int(rng() % unsigned(c.w + 20)) - 10,
                x2 = int(rng() % unsigned(c.w + 20)) - 10;
            int y1 = int(rng() % unsigned(c.h + 6)) - 3, y2 = int(rng() % unsigned(c.h + 6)) - 3;
            if (round % 5 == 0) { // the whole image, as a frame's background
                x1 = y1 = 0;
                x2 = c.w;
                y2 = c.h;
            }
            // Opaque colours mostly, as the chart uses; translucent ones check the stored value.
            const quint32 colour = round % 7 == 3 ? quint32(rng()) : (quint32(rng()) | 0xFF000000u);
            const std::vector<uchar> want = referenceFill(p, x1, y1, x2, y2, colour);
            raster::fill(p.image, x1, y1, x2, y2, colour);
            ASSERT_EQ(p.image.constBits(), p.bytes.data() + p.offset); // drawn in place
            ASSERT_TRUE(p.bytes == want)
                << "format " << c.format << " " << c.w << "x" << c.h << " pad " << c.pad << " fill "
                << x1 << "," << y1 << " " << x2 << "," << y2;
        }
    }
}

TEST(ChartRasterFastPath, HorizontalLinesMatchThePerPixelLoop) {
    std::mt19937 rng(13);
    for (int round = 0; round < 400; ++round) {
        PaddedImage p(150, 6, 8, QImage::Format_ARGB32_Premultiplied, rng);
        const int y = int(rng() % 8) - 1;
        const int xa = int(rng() % 200) - 25, xb = int(rng() % 200) - 25;
        const bool withEnd = round % 2 == 0;
        const quint32 colour = quint32(rng()) | 0xFF000000u;
        // The start pixel always, the end pixel only with it, in either direction; a line from
        // a point to itself without its end draws nothing.
        int from = std::min(xa, xb), to = std::max(xa, xb) + 1;
        if (!withEnd && xa < xb)
            to = xb;
        else if (!withEnd && xa > xb)
            from = xb + 1;
        else if (!withEnd)
            to = from;
        const std::vector<uchar> want = referenceFill(p, from, y, to, y + 1, colour);
        if (withEnd)
            raster::lineWithEnd(p.image, xa, y, xb, y, colour);
        else
            raster::line(p.image, xa, y, xb, y, colour);
        ASSERT_TRUE(p.bytes == want) << xa << "→" << xb << " y " << y << " end " << withEnd;
    }
}

namespace {

// A background with structure under the text (glyph edges blend with what is there).
QImage noisyBackground(int w, int h, quint32 seed) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = (x / 7 + y / 5) % 3 == 0 ? (quint32(rng()) | 0xFF000000u) : 0xFF000000u;
    }
    return img;
}

struct PlacedText {
    int x, y;
    QString text;
    quint32 colour;
};

} // namespace

// Texts as the chart draws them: stored glyph runs through one painter that stays open while
// raster primitives write between the texts; and the same texts, each through a new painter
// with drawText at the baseline, the primitives in the same order.
TEST(ChartRasterFastPath, StoredGlyphRunsDrawWhatDrawTextDraws) {
    const std::vector<PlacedText> texts = {
        {3, 2, QStringLiteral("5600"), 0xFFC8C8C8},
        {60, 4, QStringLiteral("12:00"), 0xFFFFFFFF},
        {-4, 30, QStringLiteral("23:59"), 0xFFFF0000}, // clipped on the left
        {10, 50, QStringLiteral("PP 986.04"), 0xFF00FFFF},
        {90, 70, QStringLiteral("阻力1"), 0xFF00FF00}, // a fallback font for the ideographs
        {20, 90, QStringLiteral("支撑2"), 0xFF000000},
        {130, 110, QStringLiteral("5600"), 0xFF808080},        // a stored text again, elsewhere
        {150, 128, QStringLiteral("正在载入..."), 0xFFC8C8C8}, // cut at the bottom edge
        {5, 115, QStringLiteral("2024-01-02 03:04  O 1.5  H 2  L 1  C 1.75"), 0xFF202020},
    };
    for (const int points : {8, 16}) {
        ChartFont fast(QStringLiteral("Verdana"), points);
        QImage a = noisyBackground(240, 140, 5);
        QImage b = a.copy();
        {
            ChartCanvas canvas(a, fast, nullptr);
            for (int round = 0; round < 2; ++round) { // the second round draws from the store
                for (size_t i = 0; i < texts.size(); ++i) {
                    const PlacedText& t = texts[i];
                    canvas.text(t.x + round * 3, t.y, t.text, t.colour);
                    raster::fill(a, int(i) * 9, t.y + 3, int(i) * 9 + 6, t.y + 9, 0xFF3060A0u);
                }
            }
            canvas.finish();
        }
        QFont font(QStringLiteral("Verdana"));
        font.setPixelSize((points * 96 + 36) / 72);
        const QFontMetrics fm(font);
        for (int round = 0; round < 2; ++round) {
            for (size_t i = 0; i < texts.size(); ++i) {
                const PlacedText& t = texts[i];
                {
                    QPainter p(&b);
                    p.setFont(font);
                    p.setPen(QColor::fromRgba(t.colour | 0xFF000000u));
                    p.drawText(t.x + round * 3, t.y + fm.ascent(), t.text);
                }
                raster::fill(b, int(i) * 9, t.y + 3, int(i) * 9 + 6, t.y + 9, 0xFF3060A0u);
            }
        }
        ASSERT_EQ(a.size(), b.size());
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            differing +=
                std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0;
        EXPECT_EQ(differing, 0) << points << " pt: rows differ";
        // The store answers widths as the metrics do.
        for (const PlacedText& t : texts)
            EXPECT_EQ(fast.width(t.text), fm.horizontalAdvance(t.text)) << t.text.toStdString();
    }
}

// A canvas opened on a bitmap that is shared (published) draws into its own pixels: the
// published picture never changes.
TEST(ChartRasterFastPath, ACanvasNeverDrawsIntoASharedPicture) {
    QImage frame(64, 32, QImage::Format_ARGB32_Premultiplied);
    frame.fill(0xFF000000u);
    const QImage published = frame; // shares the pixels
    ChartFont font(QStringLiteral("Verdana"), 8);
    {
        ChartCanvas canvas(frame, font, nullptr);
        canvas.text(2, 2, QStringLiteral("12:00"), 0xFFFFFFFF);
        raster::fill(frame, 0, 20, 64, 32, 0xFFFF0000u);
        canvas.text(2, 18, QStringLiteral("5600"), 0xFFFFFFFF);
    }
    for (int y = 0; y < published.height(); ++y)
        for (int x = 0; x < published.width(); ++x)
            ASSERT_EQ(published.pixel(x, y), 0xFF000000u) << x << "," << y;
    EXPECT_EQ(frame.pixel(60, 30), 0xFFFF0000u); // the canvas drew, into its own pixels
}

TEST(ChartRasterFastPath, RoundingMatchesFloorAndRemainder) {
    // round half to even from floor and fmod, as written in its definition
    auto reference = [](double v) {
        constexpr double limit = 1073741824.0;
        if (!(v > -limit))
            return -int(limit);
        if (v > limit)
            return int(limit);
        const double f = std::floor(v), d = v - f;
        return int(d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0.0) ? f + 1.0 : f);
    };
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  1.5,
                                  -1.5,
                                  2.5,
                                  -2.5,
                                  0.49999999999999994,
                                  -0.49999999999999994,
                                  1073741823.5,
                                  -1073741823.5,
                                  1073741824.0,
                                  -1073741824.0,
                                  1073741824.5,
                                  -1073741824.5,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::denorm_min(),
                                  -std::numeric_limits<double>::denorm_min()};
    std::mt19937_64 rng(3);
    for (int i = 0; i < 200000; ++i) {
        const int64_t whole = int64_t(rng() % (int64_t(1) << 32)) - (int64_t(1) << 31);
        values.push_back(double(whole) + 0.5);                         // ties
        values.push_back(double(whole) + double(rng() % 1024) / 1024); // binary fractions
        values.push_back((double(rng()) / 1.8446744073709552e19 - 0.5) * 4e3);
        values.push_back(std::nextafter(double(whole) + 0.5, 0.0));
    }
    for (double v : values)
        ASSERT_EQ(chartgeo::roundEven(v), reference(v)) << v;
}
