#include "ChartTestSupport.h"

#include "chart/AlertLinesOverlay.h"
#include "chart/ChartCanvas.h"
#include "chart/ChartGeometry.h"
#include "chart/Raster.h"

#include <QJsonDocument>

using namespace kovan;
using namespace charttest;

namespace {

constexpr quint32 black = 0xFF000000, white = 0xFFFFFFFF, red = 0xFFFF0000, green = 0xFF00FF00;

QImage blankImage(int w, int h, double ratio) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(black);
    img.setDevicePixelRatio(ratio);
    return img;
}

// Within `margin` pixels of a text's box (antialiased glyphs may reach a pixel past it).
bool insideAny(const std::vector<ChartTextBox>& boxes, int x, int y, int margin = 0) {
    for (const ChartTextBox& b : boxes)
        if (b.box.adjusted(-margin, -margin, margin, margin).contains(x, y))
            return true;
    return false;
}

} // namespace

// ---- the canvas ------------------------------------------------------------------------

// At ratio 1 every canvas call is the raster primitive itself.
TEST(ChartCanvasScale, RatioOneDrawsWhatTheRasterDraws) {
    QImage a = blankImage(40, 30, 1), b = blankImage(40, 30, 1);
    ChartFont fa, fb;
    {
        ChartCanvas c{a, fa, nullptr};
        c.fill(2, 3, 9, 7, red);
        c.line(1, 1, 30, 20, white);
        c.line(30, 5, 3, 5, green);
        c.setPixel(35, 25, white);
        const std::vector<QPoint> pts{{0, 29}, {10, 12}, {39, 20}};
        c.wideLine(pts, 3, green);
    }
    raster::fill(b, 2, 3, 9, 7, red);
    raster::line(b, 1, 1, 30, 20, white);
    raster::line(b, 30, 5, 3, 5, green);
    raster::setPixel(b, 35, 25, white);
    raster::drawWideLine(b, {{0, 29}, {10, 12}, {39, 20}}, 3, green);
    EXPECT_EQ(a, b);
}

// Level lines cover the device pixels of the logical pixels they cover along their length and
// lineWidth() pixels across, from the scaled position; fills the scaled rectangle.
TEST(ChartCanvasScale, LevelLinesAndFillsCoverWholeDevicePixels) {
    struct Case {
        const char* what;
        double ratio;
        QPoint from, to;
        bool withEnd;
        QRect expected; // device pixels
    } const cases[] = {
        {"right", 2, {3, 4}, {8, 4}, false, QRect(QPoint(6, 8), QPoint(15, 9))},
        {"right with end", 2, {3, 4}, {8, 4}, true, QRect(QPoint(6, 8), QPoint(17, 9))},
        {"left", 2, {8, 4}, {3, 4}, false, QRect(QPoint(8, 8), QPoint(17, 9))},
        {"down", 2, {5, 1}, {5, 6}, false, QRect(QPoint(10, 2), QPoint(11, 11))},
        {"up with end", 2, {5, 6}, {5, 1}, true, QRect(QPoint(10, 2), QPoint(11, 13))},
        {"right at 1.5", 1.5, {1, 3}, {5, 3}, false, QRect(QPoint(2, 4), QPoint(7, 5))},
        {"down at 1.5", 1.5, {3, 0}, {3, 4}, false, QRect(QPoint(4, 0), QPoint(5, 5))},
        {"right at 1.25", 1.25, {2, 6}, {6, 6}, false, QRect(QPoint(2, 8), QPoint(7, 8))},
    };
    for (const Case& c : cases) {
        QImage img = blankImage(40, 30, c.ratio);
        ChartFont font;
        {
            ChartCanvas canvas{img, font, nullptr};
            if (c.withEnd)
                canvas.lineWithEnd(c.from.x(), c.from.y(), c.to.x(), c.to.y(), white);
            else
                canvas.line(c.from.x(), c.from.y(), c.to.x(), c.to.y(), white);
        }
        EXPECT_EQ(countColour(img, white), c.expected.width() * c.expected.height()) << c.what;
        EXPECT_EQ(countColour(img, white, c.expected), c.expected.width() * c.expected.height())
            << c.what;
    }
    QImage img = blankImage(40, 30, 1.5);
    ChartFont font;
    {
        ChartCanvas canvas{img, font, nullptr};
        canvas.fill(1, 1, 4, 3, red); // device 2 … 5 across, 2 … 3 down (4.5 rounds to 4)
        canvas.setPixel(10, 10, green);
    }
    EXPECT_EQ(countColour(img, red), 4 * 2);
    EXPECT_EQ(countColour(img, red, QRect(2, 2, 4, 2)), 4 * 2);
    EXPECT_EQ(countColour(img, green), 4);
    EXPECT_EQ(countColour(img, green, QRect(15, 15, 2, 2)), 4);
}

TEST(ChartCanvasScale, LogicalSizeAndFontFollowTheBitmap) {
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        const DeviceScale s(ratio);
        QImage img = blankImage(s.px(533), s.px(401), ratio);
        ChartFont font(QStringLiteral("Verdana"), 8);
        ChartCanvas canvas{img, font, nullptr};
        EXPECT_EQ(canvas.width(), 533) << ratio;
        EXPECT_EQ(canvas.height(), 401) << ratio;
        EXPECT_EQ(font.scale(), s);
    }
}

// ---- whole frames ----------------------------------------------------------------------

namespace {

QImage frameAt(double ratio, std::vector<ChartTextBox>* texts, const QJsonObject* layer = nullptr,
               int w = 532, int h = 500) {
    ChartView view(QSize(w, h));
    view.setScale(DeviceScale(ratio));
    TChart chart(&view);
    chart.setRecordTextBoxes(true);
    PChartData data = std::make_shared<ChartDataInfoRecord>();
    data->datalist = wavySeries(400);
    chart.setPData(data);
    chart.setStyle(defaultStyle());
    chart.setSymInfo(symInfo());
    if (layer)
        chart.addLayer(1, QString::fromUtf8(QJsonDocument(*layer).toJson()));
    chart.draw();
    EXPECT_TRUE(chart.FDFulled());
    if (texts)
        *texts = chart.publishedTextBoxes();
    return view.layers().front()->snapshot();
}

} // namespace

// At ratio 2 every position and length doubles exactly, so outside the texts the frame is the
// 1× frame with each pixel a 2 × 2 block: the same bars in view, every line two device pixels
// wide on whole device pixels, nothing blended. The texts start at the doubled corners.
TEST(ChartFrameScale, RatioTwoIsTheOneTimesLayoutDoubled) {
    const QJsonObject pivots{{"type", "PPVI"}, {"itime", 1700002800 + 350 * 3600},
                             {"PV", 5600},     {"R1", 5640},
                             {"S1", 5560},     {"S2", 5540}};
    std::vector<ChartTextBox> texts1, texts2;
    const QImage one = frameAt(1, &texts1, &pivots);
    const QImage two = frameAt(2, &texts2, &pivots);
    ASSERT_EQ(two.size(), QSize(1064, 1000));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    ASSERT_EQ(texts1.size(), texts2.size());
    for (size_t i = 0; i < texts1.size(); ++i) {
        EXPECT_EQ(texts2[i].text, texts1[i].text);
        EXPECT_EQ(texts2[i].box.topLeft(), texts1[i].box.topLeft() * 2)
            << texts1[i].text.toStdString();
    }
    int compared = 0, differing = 0;
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < two.width(); ++x) {
            if (insideAny(texts2, x, y, 2) || insideAny(texts1, x / 2, y / 2, 1))
                continue;
            ++compared;
            if (two.pixel(x, y) != one.pixel(x / 2, y / 2) && ++differing < 10)
                ADD_FAILURE() << x << "," << y << " " << std::hex << two.pixel(x, y) << " "
                              << one.pixel(x / 2, y / 2);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(compared, 900000);
}

// Texts are drawn in the font scaled to the device, inside their boxes (so sharp text, not a
// 1× text enlarged): the time labels' box height is that of the scaled font.
TEST(ChartFrameScale, TextsAreDrawnAtTheScaledFontSize) {
    std::vector<ChartTextBox> texts1, texts2;
    frameAt(1, &texts1);
    frameAt(2, &texts2);
    ASSERT_FALSE(texts1.empty());
    ChartFont verdana1(QStringLiteral("Verdana"), 8), verdana2(QStringLiteral("Verdana"), 8);
    verdana2.setScale(DeviceScale(2));
    EXPECT_EQ(texts1.front().box.height(), verdana1.height());
    EXPECT_EQ(texts2.front().box.height(), verdana2.height());
    EXPECT_GT(verdana2.height(), verdana1.height() * 3 / 2);
}

// Fractional ratios draw at their own resolution: the bitmap is round(W × s) × round(H × s),
// the frame lines are two device pixels wide at the scaled rows, and outside the texts no
// pixel is blended (every one is a style colour).
TEST(ChartFrameScale, FractionalRatiosDrawAtTheirOwnResolution) {
    for (const double ratio : {1.25, 1.5, 1.75}) {
        const DeviceScale s(ratio);
        std::vector<ChartTextBox> texts;
        const QImage img = frameAt(ratio, &texts, nullptr, 533, 401);
        ASSERT_EQ(img.size(), QSize(s.px(533), s.px(401))) << ratio;
        const int lw = s.lineWidth();
        // The top frame line and the time axis's line, whole rows of the line colour.
        for (const int row : {0, lw - 1, s.px(381), s.px(381) + lw - 1})
            EXPECT_EQ(countColour(img, white, QRect(0, row, s.px(473), 1)), s.px(473))
                << ratio << " row " << row;
        EXPECT_NE(img.pixel(s.px(200), s.px(381) + lw), white) << ratio; // not wider
        int stray = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const quint32 p = img.pixel(x, y);
                if (p != black && p != white && p != red && p != green &&
                    !insideAny(texts, x, y, 2))
                    ++stray;
            }
        EXPECT_EQ(stray, 0) << ratio;
    }
}

// The cross-hair is drawn at the view's scale from logical mouse positions.
TEST(ChartFrameScale, CrossHairTakesLogicalPositions) {
    ChartView view(QSize(400, 300));
    view.setScale(DeviceScale(2));
    TChart chart(&view);
    PChartData data = std::make_shared<ChartDataInfoRecord>();
    data->datalist = wavySeries(200);
    chart.setPData(data);
    chart.setStyle(defaultStyle());
    chart.setSymInfo(symInfo());
    chart.draw();
    chart.drawCross(100, 120);
    const QImage img = view.layers().front()->snapshot();
    // The vertical hair: device columns 200 and 201, from the top.
    EXPECT_EQ(img.pixel(200, 10), white);
    EXPECT_EQ(img.pixel(201, 10), white);
    EXPECT_NE(img.pixel(202, 10), white);
    // The horizontal hair: device rows 240 and 241.
    EXPECT_EQ(img.pixel(30, 240), white);
    EXPECT_EQ(img.pixel(30, 241), white);
}

// The composite the screenshot saves is in device pixels with the ratio set; a new ratio on
// the view reaches the chart's bitmaps with the next size taken.
TEST(ChartFrameScale, CompositeAndResizeFollowTheViewsRatio) {
    ChartView view(QSize(300, 200));
    TChart chart(&view);
    chart.setStyle(defaultStyle());
    chart.setSymInfo(symInfo());
    PChartData data = std::make_shared<ChartDataInfoRecord>();
    data->datalist = wavySeries(100);
    chart.setPData(data);
    chart.draw();
    EXPECT_EQ(view.composite().size(), QSize(300, 200));
    view.setScale(DeviceScale(1.5));
    chart.resize();
    EXPECT_EQ(chart.cache().size(), QSize(450, 300));
    const QImage shot = view.composite();
    EXPECT_EQ(shot.size(), QSize(450, 300));
    EXPECT_EQ(shot.devicePixelRatio(), 1.5);
    EXPECT_EQ(shot.pixel(0, 0), white); // the frame line, not the black under the layers
    EXPECT_EQ(chart.FMWidth(), 300);    // logical
}

// The alert lines' layer is drawn at the chart's scale.
TEST(ChartFrameScale, AlertLinesLayerIsAtTheChartsScale) {
    ChartView view(QSize(300, 200));
    AlertLinesOverlay overlay(&view);
    const AlertLinesFrame frame{300, 200, PriceScale{110, 90, 9, 1}, 0, DeviceScale(2)};
    overlay.paint({ChartAlertLine{1, 100}}, frame);
    ASSERT_EQ(view.layers().size(), 1u);
    const QImage img = view.layers().front()->snapshot();
    EXPECT_EQ(img.size(), QSize(600, 400));
    const int y = PriceScale{110, 90, 9, 1}.y(100);
    EXPECT_EQ(overlay.rowOf(1), y); // rows stay logical (hit tests take mouse rows)
    EXPECT_EQ(img.pixel(34, 2 * y), AlertLinesOverlay::kColour); // a dash at logical 17
    EXPECT_EQ(img.pixel(34, 2 * y + 1), AlertLinesOverlay::kColour);
    EXPECT_NE(img.pixel(34, 2 * y + 2), AlertLinesOverlay::kColour);
}
