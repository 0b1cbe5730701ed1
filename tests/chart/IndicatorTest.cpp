#include "ChartTestSupport.h"

#include "chart/ChartGeometry.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace kovan;
using namespace charttest;

namespace {

constexpr quint32 white = 0xFFFFFFFF, red = 0xFFFF0000, green = 0xFF00FF00;

QString json(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

// A chart of 300 bars with the given layers, drawn once.
struct Drawn : ChartFixture {
    explicit Drawn(const std::vector<QJsonObject>& layers) {
        rec.datalist = wavySeries(300);
        for (const auto& l : layers)
            chart.addLayer(1, json(l));
        chart.draw();
    }
    QImage img() const { return published(); }
};

// Pivot levels inside the price scale of the 300-bar test chart: PV in the middle, R1/R2 and
// S1/S2 an eighth and a quarter of the scale away; R5 and S5 far off the scale.
struct Levels {
    int pv, r1, r2, s1, s2;
};

Levels levels() {
    static const Levels l = [] {
        ChartFixture f;
        f.rec.datalist = wavySeries(300);
        f.chart.draw();
        const PriceScale& s = f.chart.frameScale();
        const int pv = int((s.high + s.low) / 2), d = int((s.high - s.low) / 8);
        return Levels{pv, pv + d, pv + 2 * d, pv - d, pv - 2 * d};
    }();
    return l;
}

QJsonObject pivots(qint64 itime) {
    const Levels l = levels();
    return {{"type", "PPVI"}, {"itime", itime}, {"PV", l.pv}, {"R1", l.r1}, {"R2", l.r2},
            {"R5", 99999},    {"S1", l.s1},     {"S2", l.s2}, {"S5", 1}};
}

QJsonObject ma(const QJsonArray& list) {
    return {{"type", "MA"}, {"MALIST", list}};
}

QJsonObject maEntry(int maped, const char* color, int linew) {
    return {{"MAPED", maped}, {"color", color}, {"linew", linew}};
}

} // namespace

TEST(ChartIndicators, UnknownKindsAndMarketDataDrawNothing) {
    const Drawn plain({});
    EXPECT_EQ(Drawn({{{"type", "MKDT"}}}).img(), plain.img());
    EXPECT_EQ(Drawn({{{"type", "ma"}}}).img(), plain.img()); // case-sensitive
    EXPECT_EQ(Drawn({{{"type", "MA"}}}).img(), plain.img()); // no MALIST
    EXPECT_EQ(Drawn({{{"type", "MA"}, {"MALIST", QJsonArray()}}}).img(), plain.img());
    EXPECT_EQ(Drawn({{{"nothing", 1}}}).img(), plain.img());
}

TEST(ChartIndicators, PivotsAfterTheNewestBarDrawNothing) {
    const Drawn plain({});
    const qint64 newest = plain.rec.datalist.back().dl;
    EXPECT_EQ(Drawn({pivots(newest + 1)}).img(), plain.img());
    EXPECT_EQ(Drawn({pivots(0)}).img(), plain.img());
    EXPECT_NE(Drawn({pivots(newest)}).img(), plain.img());
}

TEST(ChartIndicators, PivotsFromBeforeTheVisibleRangeStartAtXOne) {
    const Drawn plain({});
    const Drawn d({pivots(1000)});
    const QImage img = d.img();
    const PriceScale& s = d.chart.frameScale();
    const int y = s.y(levels().r1); // R1, resistance colour: style yangzhu (red)
    ASSERT_GT(y, 1);
    ASSERT_LT(y, 480);
    EXPECT_EQ(img.pixel(3, y), red);
    EXPECT_EQ(img.pixel(6, y), red);
    EXPECT_EQ(img.pixel(471, y), red); // up to w - 60 = 472 inclusive: 471 is the last third
    // No separator line at x = 1 (only the frame at x = 0).
    EXPECT_EQ(countColour(img, white, QRect(1, 1, 1, 479)),
              countColour(plain.img(), white, QRect(1, 1, 1, 479)));
    std::vector<QString> texts;
    for (const auto& t : d.chart.publishedTextBoxes())
        if (t.box.x() == 11)
            texts.push_back(t.text);
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("阻力1")), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("支撑2")), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("PP %1").arg(levels().pv)),
              texts.end());
    // Levels off the scale are skipped.
    EXPECT_EQ(std::find(texts.begin(), texts.end(), QStringLiteral("阻力5")), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), QStringLiteral("支撑5")), texts.end());
}

TEST(ChartIndicators, PivotsFromMidRangeDrawASeparatorAndStartThere) {
    const Drawn probe({});
    const int first = probe.chart.FELineST();
    const qint64 itime = probe.rec.datalist[size_t(first + 20)].dl;
    const Drawn d({pivots(itime)});
    const QImage img = d.img();
    const PriceScale& s = d.chart.frameScale();
    const int xs = 20 * 4;
    for (int y = 1; y < 480; y += 37)
        EXPECT_EQ(img.pixel(xs, y), white) << y;
    const int r1 = s.y(levels().r1);
    EXPECT_EQ(img.pixel(81, r1), red); // first multiple of 3 from xs
    EXPECT_EQ(img.pixel(84, r1), red);
    EXPECT_NE(img.pixel(82, r1), red);
    EXPECT_NE(img.pixel(78, r1), red);
    // S2 also has a solid line from xs to the right edge; support colour yinxian (green).
    const int s2 = s.y(levels().s2);
    EXPECT_EQ(img.pixel(xs + 1, s2), green);
    EXPECT_EQ(img.pixel(xs + 2, s2), green);
    EXPECT_EQ(img.pixel(530, s2), green);
    const int s1 = s.y(levels().s1);
    EXPECT_EQ(img.pixel(81, s1), green);
    EXPECT_NE(img.pixel(82, s1), green);
    // Labels: resistance above its line, support below, pivot at y - 7.
    bool r1Label = false, s1Label = false, ppLabel = false;
    for (const auto& t : d.chart.publishedTextBoxes()) {
        r1Label |= t.text == QStringLiteral("阻力1") && t.box.topLeft() == QPoint(xs + 10, r1 - 16);
        s1Label |= t.text == QStringLiteral("支撑1") && t.box.topLeft() == QPoint(xs + 10, s1 + 5);
        ppLabel |= t.text == QStringLiteral("PP %1").arg(levels().pv) &&
                   t.box.topLeft() == QPoint(xs + 10, s.y(levels().pv) - 7);
    }
    EXPECT_TRUE(r1Label);
    EXPECT_TRUE(s1Label);
    EXPECT_TRUE(ppLabel);
}

TEST(ChartIndicators, PivotLabelStaysLegibleOnTheDefaultStyle) {
    const Drawn d({pivots(1000)});
    QRect box;
    for (const auto& t : d.chart.publishedTextBoxes())
        if (t.text.startsWith(QStringLiteral("PP ")))
            box = t.box;
    ASSERT_FALSE(box.isNull());
    const QImage img = d.img();
    int lit = 0;
    for (int y = std::max(box.top(), 1); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            lit += qGray(img.pixel(x, y)) > 0x60 && img.pixel(x, y) != white;
    EXPECT_GT(lit, 10);
}

TEST(ChartIndicators, PivotOffTheScaleIsStillDrawnAndClipped) {
    QJsonObject p = pivots(1000);
    p["PV"] = 1;
    const Drawn d({p});
    bool pp = false;
    for (const auto& t : d.chart.publishedTextBoxes())
        pp |= t.text == QStringLiteral("PP 1");
    EXPECT_TRUE(pp);
    EXPECT_EQ(d.view.publishCount(), 1u);
}

TEST(ChartIndicators, MovingAverageOfOneBarPassesThroughTheCloses) {
    const Drawn d({ma({maEntry(1, "#FF00FF", 1)})});
    const QImage img = d.img();
    const PriceScale& s = d.chart.frameScale();
    const int first = d.chart.FELineST();
    for (int k = 0; first + k <= d.chart.FELineED(); ++k)
        ASSERT_EQ(img.pixel(k * 4 + 2, s.y(d.rec.datalist[size_t(first + k)].close)), 0xFFFF00FFu)
            << k;
}

TEST(ChartIndicators, MovingAverageEntriesInheritTheColourAndSkipEmptyPeriods) {
    const QImage inherited = Drawn({ma({maEntry(5, "#FF0000", 1), maEntry(10, "", 2)})}).img();
    const QImage explicitRed =
        Drawn({ma({maEntry(5, "#FF0000", 1), maEntry(10, "#FF0000", 2)})}).img();
    const QImage skipped =
        Drawn({ma({maEntry(5, "#FF0000", 1), maEntry(0, "#0000FF", 1), maEntry(10, "", 2)})}).img();
    EXPECT_EQ(inherited, explicitRed);
    EXPECT_EQ(skipped, explicitRed);
    const QImage firstOnly = Drawn({ma({maEntry(5, "#FF0000", 1)})}).img();
    EXPECT_NE(inherited, firstOnly);
    // The first entry without a colour takes `front`.
    const QImage front = Drawn({ma({maEntry(5, "", 1)})}).img();
    const QImage white5 = Drawn({ma({maEntry(5, "#FFFFFF", 1)})}).img();
    EXPECT_EQ(front, white5);
}

TEST(ChartIndicators, WideMovingAverageIsThatManyRowsThick) {
    // A flat series: the average is a horizontal line, 3 rows thick for linew 3.
    ChartFixture f;
    for (int i = 0; i < 200; ++i)
        f.rec.datalist.push_back({1000 + i * 60, 100, 100, 90, 110});
    f.chart.addLayer(1, json(ma({maEntry(7, "#0000FF", 3)})));
    f.chart.draw();
    const QImage img = f.published();
    const int y = f.chart.frameScale().y(100);
    for (int x : {10, 100, 300}) {
        EXPECT_NE(img.pixel(x, y - 2), 0xFF0000FFu) << x;
        EXPECT_EQ(img.pixel(x, y - 1), 0xFF0000FFu) << x;
        EXPECT_EQ(img.pixel(x, y + 1), 0xFF0000FFu) << x;
        EXPECT_NE(img.pixel(x, y + 2), 0xFF0000FFu) << x;
    }
}

TEST(ChartIndicators, BandsPassThroughTheirThreeValues) {
    const QJsonObject bb{
        {"type", "BB"}, {"cycle", 20}, {"stddev", 2}, {"color", "#00FFFF"}, {"linew", 1}};
    ChartFixture f;
    f.rec.datalist = wavySeries(30); // the first bars have fewer than 20 predecessors
    f.chart.addLayer(1, json(bb));
    f.chart.draw();
    const QImage img = f.published();
    const PriceScale& s = f.chart.frameScale();
    ASSERT_EQ(f.chart.FELineST(), 0);
    for (int k = 0; k <= f.chart.FELineED(); ++k) {
        const TMYDAr b = bandValues(f.rec.datalist, k, 2, 20);
        for (double v : b) {
            const int y = s.y(v);
            if (y >= 1 && y < 480) {
                ASSERT_EQ(img.pixel(k * 4 + 2, y), 0xFF00FFFFu) << k;
            }
        }
    }
}

TEST(ChartIndicators, BadLayerColourAbandonsTheFrame) {
    for (const QJsonObject& l :
         {ma({maEntry(5, "red", 1)}), QJsonObject{{"type", "BB"}, {"color", "#12"}},
          QJsonObject{{"type", "PPVI"}, {"itime", 1000}, {"ppcolor", "white"}}}) {
        const Drawn d({l});
        EXPECT_EQ(d.view.publishCount(), 0u);
    }
    // The colour of a skipped entry is never read.
    const Drawn ok({ma({maEntry(0, "red", 1)})});
    EXPECT_EQ(ok.view.publishCount(), 1u);
}

TEST(ChartIndicators, LaterLayersPaintOverEarlierOnes) {
    const QJsonObject a = ma({maEntry(1, "#FF00FF", 3)});
    const QJsonObject b = ma({maEntry(1, "#0000FF", 3)});
    const QImage ab = Drawn({a, b}).img();
    EXPECT_EQ(countColour(ab, 0xFFFF00FF), 0);
    EXPECT_GT(countColour(ab, 0xFF0000FF), 100);
}
