#include "ChartTestSupport.h"

#include "chart/ChartGeometry.h"

#include <QRegularExpression>

using namespace kovan;
using namespace charttest;

namespace {

constexpr quint32 black = 0xFF000000, white = 0xFFFFFFFF, red = 0xFFFF0000, green = 0xFF00FF00;

std::vector<QString> textsAt(const TChart& c, int x) {
    std::vector<QString> out;
    for (const auto& t : c.publishedTextBoxes())
        if (t.box.x() == x)
            out.push_back(t.text);
    return out;
}

// Time labels: the texts drawn just below the price area.
std::vector<QString> timeLabels(const TChart& c, int H) {
    std::vector<QString> out;
    for (const auto& t : c.publishedTextBoxes())
        if (t.box.y() == H + 5)
            out.push_back(t.text);
    return out;
}

// Pixels of light-grey text (any coverage of 0xC8C8C8 over black).
int countGreyText(const QImage& img, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            n +=
                qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 0x40 && qRed(p) <= 0xC8;
        }
    return n;
}

} // namespace

// The chart holds a share of the series: when the window lets go of its handle first, the
// chart still draws from it, and the series goes only with the last holder.
TEST(TChart, SeriesLivesAsLongAsTheChartHoldsIt) {
    ChartView view(QSize(320, 240));
    TChart chart(&view);
    chart.setStyle(defaultStyle());
    chart.setSymInfo(symInfo());
    PChartData window = std::make_shared<ChartDataInfoRecord>();
    window->datalist = wavySeries(300);
    const std::weak_ptr<ChartDataInfoRecord> watch = window;
    chart.setPData(window);
    window.reset();
    ASSERT_FALSE(watch.expired());
    chart.draw();
    EXPECT_TRUE(chart.FDFulled());
    EXPECT_EQ(view.publishCount(), 1u);
    EXPECT_EQ(chart.FELineED(), 299);
    chart.setPData(nullptr);
    EXPECT_TRUE(watch.expired());
}

TEST(TChart, EmptySeriesShowsTheWaitingMessageAndDoesNotScroll) {
    ChartFixture f;
    f.chart.draw();
    EXPECT_FALSE(f.chart.FDFulled());
    EXPECT_EQ(f.view.publishCount(), 1u);
    ASSERT_EQ(f.chart.publishedTextBoxes().size(), 1u);
    const auto& t = f.chart.publishedTextBoxes().front();
    EXPECT_EQ(t.text, QStringLiteral("正在载入..."));
    // Centred: equal margins left and right (integer division), and vertically.
    EXPECT_NEAR(t.box.x(), (532 - t.box.width()) / 2, 0);
    EXPECT_EQ(t.box.y(), (500 - t.box.height()) / 2);
    const QImage img = f.published();
    // The text shows in light grey on black; nothing else is drawn.
    EXPECT_GT(countGreyText(img, t.box), 10);
    EXPECT_EQ(countColour(img, black),
              532 * 500 - t.box.width() * t.box.height() + countColour(img, black, t.box));
    EXPECT_FALSE(f.chart.movePX(100, 200));
    EXPECT_EQ(f.view.publishCount(), 1u);
    f.chart.drawCross(100, 100); // before a full frame: nothing
    EXPECT_EQ(f.view.publishCount(), 1u);
}

TEST(TChart, FollowModeShowsTheNewestBarsWithTwelveEmptySlots) {
    ChartFixture f;
    f.rec.datalist = wavySeries(1000);
    f.chart.draw();
    ASSERT_TRUE(f.chart.FDFulled());
    EXPECT_EQ(f.view.publishCount(), 1u);
    EXPECT_EQ(f.chart.FELineST(), 894);
    EXPECT_EQ(f.chart.FELineED(), 999);
    EXPECT_EQ(f.chart.FDNInx(), 894);
    // 106 bars: slot 105 holds the newest bar, slots 106 … 117 stay empty.
    const QImage img = f.published();
    const QRect slot105(1 + 105 * 4, 1, 3, 478), slot106(1 + 106 * 4, 1, 3 * 4 + 8, 478);
    EXPECT_GT(countColour(img, red, slot105) + countColour(img, green, slot105), 0);
    EXPECT_EQ(countColour(img, red, slot106) + countColour(img, green, slot106), 0);
}

TEST(TChart, FrameAxesAndElevenPriceLabels) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    const QImage img = f.published();
    const int w = 532, h = 500, W = 472, H = 480;
    for (int x : {0, 10, 300, w - 1}) {
        EXPECT_EQ(img.pixel(x, 0), white) << x;
        EXPECT_EQ(img.pixel(x, h - 1), white) << x;
        EXPECT_EQ(img.pixel(x, H), white) << x;
    }
    for (int y : {0, 100, h - 1}) {
        EXPECT_EQ(img.pixel(0, y), white);
        EXPECT_EQ(img.pixel(w - 1, y), white);
    }
    EXPECT_EQ(img.pixel(W, 200), white);
    EXPECT_NE(img.pixel(W, H + 10), white); // the price axis line stops at H
    const auto labels = textsAt(f.chart, W + 4);
    EXPECT_EQ(labels.size(), 11u);
    // Label i sits at Y(hi - i (hi - lo) / 13) - 4 and shows that price rounded.
    const PriceScale& s = f.chart.frameScale();
    int i = 1;
    for (const auto& t : f.chart.publishedTextBoxes()) {
        if (t.box.x() != W + 4)
            continue;
        const double v = double(s.high) - i * (double(s.high) - double(s.low)) / 13;
        EXPECT_EQ(t.box.y(), s.y(v) - 4);
        EXPECT_EQ(t.text, priceLabel(v, 0));
        ++i;
    }
}

TEST(TChart, PriceScaleCoversVisibleRangeAndMargin) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    float hi = -1e9f, lo = 1e9f;
    for (int i = f.chart.FELineST(); i <= f.chart.FELineED(); ++i) {
        hi = std::max(hi, f.rec.datalist[size_t(i)].high);
        lo = std::min(lo, f.rec.datalist[size_t(i)].low);
    }
    const PriceScale& s = f.chart.frameScale();
    EXPECT_FLOAT_EQ(s.high, hi + 8);
    EXPECT_FLOAT_EQ(s.low, lo - 8);
    EXPECT_FLOAT_EQ(s.perPx, float(480.0 / (double(hi + 8) - double(lo - 8))));
    EXPECT_FLOAT_EQ(s.minPip, 1.0f);
}

TEST(TChart, CandleBodiesAndWicks) {
    ChartFixture f;
    // Three bars: rising, falling, flat. BASEPIP 0 and a known range make rows easy.
    f.rec.datalist = {
        {1000, 100, 140, 90, 150}, {4600, 140, 110, 100, 145}, {8200, 120, 120, 100, 130}};
    f.chart.setSymInfo(symInfo(1, 0, 0));
    f.chart.setPrice(120); // equals the newest close: no change to the newest bar
    const QImage img = f.published();
    const PriceScale& s = f.chart.frameScale();
    // Rising bar 0: body rows Y(140) ≤ y < Y(100), columns 1..3, red; wick at x = 2.
    EXPECT_EQ(img.pixel(1, s.y(140)), red);
    EXPECT_EQ(img.pixel(3, s.y(100) - 1), red);
    EXPECT_NE(img.pixel(1, s.y(100)), red);
    EXPECT_EQ(img.pixel(2, s.y(150)), red); // wick top
    EXPECT_NE(img.pixel(2, s.y(90)), red);  // end point of the wick is not drawn
    EXPECT_EQ(img.pixel(2, s.y(90) - 1), red);
    // Falling bar 1: rows Y(140) ≤ y < Y(110) green.
    EXPECT_EQ(img.pixel(5, s.y(140)), green);
    EXPECT_EQ(img.pixel(7, s.y(110) - 1), green);
    EXPECT_NE(img.pixel(7, s.y(110)), green);
    // Flat bar 2: exactly one row, Y(120) - 1, in yinzhu; column 9 is left of the wick.
    const int flatRows = countColour(img, green, QRect(9, 1, 1, 478));
    EXPECT_EQ(flatRows, 1);
    EXPECT_EQ(img.pixel(9, s.y(120) - 1), green);
}

// The picture is painted from the frame's layout: every body, wick, time tick and the marker
// sit where the layout puts them, in their style colours.
TEST(TChart, PaintedFrameFollowsItsLayout) {
    ChartFixture f;
    f.rec.datalist = wavySeries(1000);
    f.chart.setPrice(f.rec.datalist.back().close + 3);
    const ChartFrameLayout& l = f.chart.frameLayout();
    ASSERT_EQ(l.status, FrameStatus::Ok);
    ASSERT_EQ(l.drawnBars(), 106);
    const QImage img = f.published();
    // The colour at (x, y), unless the marker line (drawn later) crosses that row.
    auto bar = [&](int x, int y) { return y == l.marker.y ? 0u : img.pixel(x, y); };
    for (const ChartCandle& c : l.candleBars) {
        const quint32 body = c.rising ? red : green;
        for (quint32 p : {bar(c.x0, c.bodyTop), bar(c.x1 - 1, c.bodyBottom - 1)})
            EXPECT_TRUE(p == body || p == 0);
        EXPECT_NE(img.pixel(c.x1, c.bodyTop), body);
        if (c.wickTop < c.bodyTop) { // wick colours equal body colours in this style
            const quint32 p = bar(c.wickX, c.wickTop);
            EXPECT_TRUE(p == body || p == 0);
        }
    }
    ASSERT_EQ(l.timeLabels.size(), 9u);
    for (const ChartTimeLabel& t : l.timeLabels) {
        EXPECT_EQ(img.pixel(t.tickX, 481), white);
        EXPECT_EQ(img.pixel(t.tickX, 484), white);
    }
    ASSERT_TRUE(l.marker.shown);
    EXPECT_EQ(img.pixel(l.marker.box.x1, l.marker.box.y1), white);
    EXPECT_EQ(img.pixel(l.marker.box.x2 - 1, l.marker.box.y2 - 1), white);
    EXPECT_NE(img.pixel(l.marker.box.x2, l.marker.box.y2 - 1), white);
    EXPECT_EQ(img.pixel(5, l.marker.y), white);
    std::vector<QString> texts;
    for (const auto& t : f.chart.publishedTextBoxes())
        texts.push_back(t.text);
    for (const ChartLabel& p : l.priceLabels)
        EXPECT_NE(std::find(texts.begin(), texts.end(), p.text), texts.end());
}

TEST(TChart, StyleWidthGivenAsTextDrawsFivePixelBodies) {
    ChartFixture f;
    QJsonObject st = defaultStyle();
    st["kwidth"] = "5";
    f.chart.setStyle(st);
    f.rec.datalist = {{1000, 100, 140, 90, 150}, {4600, 140, 150, 100, 155}};
    f.chart.setSymInfo(symInfo(1, 0, 0));
    f.chart.draw();
    const QImage img = f.published();
    const int y = f.chart.frameScale().y(120);
    EXPECT_EQ(countColour(img, red, QRect(0, y, 7, 1)), 5); // x 1..5
    EXPECT_EQ(img.pixel(1, y), red);
    EXPECT_EQ(img.pixel(5, y), red);
    EXPECT_NE(img.pixel(6, y), red);
}

TEST(TChart, NoPriceKnownUsesTheNewestClose) {
    ChartFixture a, b;
    a.rec.datalist = b.rec.datalist = wavySeries(200);
    a.chart.setPrice(0);
    b.chart.setPrice(a.rec.datalist.back().close);
    EXPECT_EQ(a.published(), b.published());
    const float p = a.rec.datalist.back().close;
    const int y = a.chart.frameScale().y(p);
    const QImage img = a.published();
    EXPECT_EQ(img.pixel(532 - 56, y - 8), white); // the marker box
    EXPECT_EQ(img.pixel(532 - 5, y + 7), white);
    EXPECT_EQ(img.pixel(10, y), white); // and its line
    EXPECT_FALSE(textsAt(a.chart, 532 - 54).empty());
    EXPECT_EQ(textsAt(a.chart, 532 - 54).front(), priceLabel(p, 0));
}

TEST(TChart, PriceMovesTheNewestCandle) {
    ChartFixture f;
    f.rec.datalist = {{1000, 100, 140, 90, 150}, {4600, 140, 110, 100, 145}};
    f.chart.setSymInfo(symInfo(1, 0, 0));
    f.chart.setPrice(170); // above the bar: close and high follow the price, bar rises
    const QImage img = f.published();
    const PriceScale& s = f.chart.frameScale();
    EXPECT_FLOAT_EQ(s.high, 170.0f);
    EXPECT_EQ(img.pixel(5, s.y(160)), red);
    EXPECT_EQ(img.pixel(5, s.y(140) - 1), red);
    EXPECT_NE(img.pixel(5, s.y(140)), red);
}

TEST(TChart, LineModeTimeLabelsReadEightHoursLater) {
    ChartFixture candles, line;
    candles.rec.datalist = line.rec.datalist = wavySeries(400);
    QJsonObject st = defaultStyle();
    st["linetype"] = 1;
    line.chart.setStyle(st);
    candles.chart.draw();
    line.chart.draw();
    const auto a = timeLabels(candles.chart, 480), b = timeLabels(line.chart, 480);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GE(a.size(), 9u);
    for (size_t i = 0; i < a.size(); ++i) {
        const int ha = a[i].left(2).toInt(), hb = b[i].left(2).toInt();
        EXPECT_EQ((ha + 8) % 24, hb) << a[i].toStdString() << " " << b[i].toStdString();
        EXPECT_EQ(a[i].mid(2), b[i].mid(2));
    }
    // The first label is bar first + 10 - 5, at x = 5 * 4.
    const int first = candles.chart.FELineST();
    EXPECT_EQ(a[0], timeLabel(candles.rec.datalist[size_t(first + 5)].dl));
    const QImage img = candles.published();
    EXPECT_EQ(img.pixel(20, 481), white);
    EXPECT_EQ(img.pixel(20, 484), white);
    EXPECT_NE(img.pixel(20, 485), white); // tick line(x, H, x, H + 5) stops before H + 5
    // The cross-hair read-out never adds the eight hours.
    line.chart.drawCross(40, 100);
    const int i = line.chart.FELineST() + 10;
    bool found = false;
    for (const auto& t : line.chart.publishedTextBoxes())
        found |= t.text == timeLabel(line.rec.datalist[size_t(i)].dl) && t.box.y() == 500 - 16;
    EXPECT_TRUE(found);
}

TEST(TChart, LineModeDrawsTheClosesInFront) {
    ChartFixture f;
    QJsonObject st = defaultStyle();
    st["linetype"] = 1;
    st["kwidth"] = 1;
    st["front"] = "#FFFF00";
    f.chart.setStyle(st);
    f.rec.datalist = {
        {1000, 100, 140, 90, 150}, {4600, 140, 110, 100, 145}, {8200, 120, 120, 100, 130}};
    f.chart.setSymInfo(symInfo(1, 0, 0));
    f.chart.draw();
    const QImage img = f.published();
    const PriceScale& s = f.chart.frameScale();
    // Points at x = kmargin + j * step = 1, 3, 5, joined including end points.
    EXPECT_EQ(img.pixel(1, s.y(140)), 0xFFFFFF00u);
    EXPECT_EQ(img.pixel(3, s.y(110)), 0xFFFFFF00u);
    EXPECT_EQ(img.pixel(5, s.y(120)), 0xFFFFFF00u);
    EXPECT_EQ(countColour(img, red) + countColour(img, green), 0);
}

TEST(TChart, DragScrollsBySlotsAndNotPastTheNewestBars) {
    ChartFixture f;
    f.rec.datalist = wavySeries(1000);
    f.chart.draw();
    EXPECT_FALSE(f.chart.movePX(100, 103));
    EXPECT_EQ(f.view.publishCount(), 1u);
    EXPECT_TRUE(f.chart.AutoMove());
    EXPECT_TRUE(f.chart.movePX(100, 140));
    EXPECT_FALSE(f.chart.AutoMove());
    EXPECT_EQ(f.chart.FDNInx(), 884);
    EXPECT_EQ(f.chart.FELineST(), 884);
    EXPECT_EQ(f.chart.FELineED(), 884 + 118 - 4);
    EXPECT_EQ(f.view.publishCount(), 2u);
    EXPECT_FALSE(f.chart.movePX(140, 100)); // 884 + 10 = 894 > 1000 - 118 + 4
    EXPECT_EQ(f.chart.FDNInx(), 884);
    EXPECT_TRUE(f.chart.movePX(108, 100));
    EXPECT_EQ(f.chart.FDNInx(), 886);
}

TEST(TChart, ResizeReturnsToFollowModeAndRedraws) {
    ChartFixture f;
    f.rec.datalist = wavySeries(1000);
    f.chart.draw();
    ASSERT_TRUE(f.chart.movePX(0, 400));
    f.view.setSize(QSize(300, 200));
    f.chart.resize();
    EXPECT_TRUE(f.chart.AutoMove());
    EXPECT_EQ(f.chart.FMWidth(), 300);
    EXPECT_EQ(f.published().size(), QSize(300, 200));
    EXPECT_EQ(f.chart.FELineED(), 999);
    EXPECT_EQ(f.chart.FELineST(), 1000 - 60 + 12);
}

TEST(TChart, CrossHairDrawsOnACopyAndMinusOneRemovesIt) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    const QImage plain = f.published();
    const QImage cacheBefore = f.chart.cache();
    f.chart.drawCross(101, 200);
    const QImage img = f.published();
    EXPECT_EQ(f.chart.cache(), cacheBefore);
    EXPECT_EQ(img.pixel(0, 200), white);
    EXPECT_EQ(img.pixel(532 - 59, 200), white);
    EXPECT_EQ(img.pixel(101, 0), white);
    EXPECT_EQ(img.pixel(101, 500 - 19), white);
    // Price box from x 474 to 526, rows 193 … 206; time box 81 … 120 × 482 … 495.
    EXPECT_EQ(img.pixel(532 - 58, 193), white);
    EXPECT_EQ(img.pixel(532 - 6, 206), white);
    EXPECT_NE(img.pixel(532 - 5, 206), white);
    EXPECT_EQ(img.pixel(81, 482), white);
    EXPECT_EQ(img.pixel(120, 495), white);
    EXPECT_NE(img.pixel(121, 490), white);
    // The read-outs: price at row 200, time of bar FELineST + round(101 / 4) = + 25.
    const PriceScale& s = f.chart.frameScale();
    std::vector<QString> texts;
    for (const auto& t : f.chart.publishedTextBoxes())
        texts.push_back(t.text);
    EXPECT_NE(std::find(texts.begin(), texts.end(), priceLabel(s.price(200), 0)), texts.end());
    const qint32 dl = f.rec.datalist[size_t(f.chart.FELineST() + 25)].dl;
    EXPECT_NE(std::find(texts.begin(), texts.end(), timeLabel(dl)), texts.end());
    // Read-outs are black on the white boxes.
    int dark = 0;
    for (int y = 194; y < 206; ++y)
        for (int x = 532 - 55; x < 532 - 10; ++x)
            dark += qGray(img.pixel(x, y)) < 0x80;
    EXPECT_GT(dark, 5);

    f.chart.drawCross(-1, -1);
    EXPECT_EQ(f.published(), plain);
    f.chart.drawCross(532 - 60, 10); // outside the price area: plain chart
    EXPECT_EQ(f.published(), plain);
}

// The read-outs are drawn on the cross-hair's own copy: the cache keeps its font, so a waiting
// message drawn after a cross-hair looks as it did before.
TEST(TChart, CrossHairLeavesTheCacheFontAsItFoundIt) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    EXPECT_EQ(f.chart.cacheFont().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(f.chart.cacheFont().pointSize(), 8);
    f.chart.drawWait(); // called directly it keeps FDFulled: the cross-hair still draws
    const QImage waiting = f.published();
    ASSERT_EQ(f.chart.cacheFont().pointSize(), 16);
    f.chart.drawCross(100, 100);
    EXPECT_EQ(f.chart.cacheFont().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(f.chart.cacheFont().pointSize(), 16);
    f.chart.drawWait();
    EXPECT_EQ(f.published(), waiting);
}

TEST(TChart, BadStyleColourLeavesThePreviousFramePublished) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    const QImage before = f.published();
    const QImage cache = f.chart.cache();
    QJsonObject st = defaultStyle();
    st["yinzhu"] = "red";
    f.chart.setStyle(st);
    f.chart.draw();
    EXPECT_EQ(f.view.publishCount(), 1u);
    EXPECT_EQ(f.published(), before);
    EXPECT_EQ(f.chart.cache(), cache); // the cross-hair still works on the good frame
    EXPECT_TRUE(f.chart.FDFulled());
    st["front"] = "red";
    f.chart.setStyle(st);
    EXPECT_THROW(f.chart.drawCross(10, 10), InvalidColorError);
}

TEST(TChart, FlatSeriesWithoutMarginOrZeroPipIsAbandonedNotDrawn) {
    for (const QJsonObject& sym : {symInfo(1, 0, 0), symInfo(0, 0, 8), symInfo(0, 0, 0)}) {
        ChartFixture f;
        for (int i = 0; i < 50; ++i)
            f.rec.datalist.push_back({1000 + i * 60, 100, 100, 100, 100});
        f.chart.setSymInfo(sym);
        f.chart.draw();
        EXPECT_TRUE(f.chart.FDFulled());
        EXPECT_EQ(f.view.publishCount(), 0u);
        f.chart.drawCross(10, 10); // must not crash on a chart without a good frame
    }
}

TEST(TChart, ZeroWidthSlotsAreAbandoned) {
    ChartFixture f;
    f.rec.datalist = wavySeries(50);
    QJsonObject st = defaultStyle();
    st["kwidth"] = 0;
    st["kmargin"] = 0;
    f.chart.setStyle(st);
    f.chart.draw();
    EXPECT_EQ(f.view.publishCount(), 0u);
    EXPECT_FALSE(f.chart.movePX(0, 100));
}

TEST(TChart, AxisTextIsLightGreyOnTheDefaultStyle) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.draw();
    const QImage img = f.published();
    EXPECT_GT(countGreyText(img, QRect(476, 0, 56, 480)), 20);
    EXPECT_GT(countGreyText(img, QRect(0, 485, 472, 14)), 20);
}
