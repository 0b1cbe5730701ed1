#include "ChartTestSupport.h"

#include "core/Errors.h"

#include <QRegularExpression>

#include <set>

using namespace kovan;
using namespace charttest;

namespace {

const QString maRed =
    QStringLiteral(R"({"type":"MA","MALIST":[{"MAPED":5,"color":"#FF00FF","linew":1}]})");

} // namespace

TEST(ChartLayers, KeysAreEightCapitalsOrDigits) {
    const QRegularExpression re(QStringLiteral("^[A-Z0-9]{8}$"));
    std::set<QString> seen;
    std::set<QChar> chars;
    for (int i = 0; i < 2000; ++i) {
        const QString k = makeLayerKey(8);
        ASSERT_TRUE(re.match(k).hasMatch()) << k.toStdString();
        seen.insert(k);
        for (QChar c : k)
            chars.insert(c);
    }
    EXPECT_GT(seen.size(), 1990u); // random, not a counter
    EXPECT_EQ(chars.size(), 36u);  // every character turns up
}

TEST(ChartLayers, SameAttributesTwiceMakeTwoLayersThatBothDraw) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    const QString a = f.chart.addLayer(1, maRed);
    const QString b = f.chart.addLayer(1, maRed);
    EXPECT_NE(a, b);
    ASSERT_EQ(f.chart.IndexLayers().size(), 2u);
    EXPECT_EQ(f.chart.IndexLayers()[0].inxType, LayerRecord::Indicator);
    EXPECT_EQ(f.view.publishCount(), 0u); // addLayer does not draw
    f.chart.draw();
    const int both = countColour(f.published(), 0xFFFF00FF);
    EXPECT_GT(both, 100);
    // Removing one still leaves the line drawn by the other.
    f.chart.removeLayer(a);
    EXPECT_EQ(countColour(f.published(), 0xFFFF00FF), both);
    f.chart.removeLayer(b);
    EXPECT_EQ(countColour(f.published(), 0xFFFF00FF), 0);
}

TEST(ChartLayers, ExistingKeyReplacesAttributesAndKeepsTheCategory) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    const QString key = f.chart.addLayer(1, maRed);
    const size_t viewLayers = f.view.layers().size();
    const QString again = f.chart.addLayer(
        2,
        QStringLiteral(R"({"lkey":"%1","type":"BB","cycle":20,"stddev":2,"style":"x"})").arg(key));
    EXPECT_EQ(again, key);
    ASSERT_EQ(f.chart.IndexLayers().size(), 1u);
    const LayerRecord& l = f.chart.IndexLayers()[0];
    EXPECT_EQ(l.inxType, LayerRecord::Indicator);
    EXPECT_EQ(l.attributes().value("type").toString(), QStringLiteral("BB"));
    EXPECT_EQ(l.style, QString());
    EXPECT_FALSE(l.obj);
    EXPECT_EQ(f.view.layers().size(), viewLayers);
}

TEST(ChartLayers, UnknownKeyCreatesANewRandomKey) {
    ChartFixture f;
    const QString key = f.chart.addLayer(1, QStringLiteral(R"({"lkey":"NOSUCH01","type":"MKDT"})"));
    EXPECT_NE(key, QStringLiteral("NOSUCH01"));
    EXPECT_EQ(key.size(), 8);
    EXPECT_EQ(f.chart.IndexLayers().size(), 1u);
}

TEST(ChartLayers, RemovingAnUnknownKeyOnlyRedraws) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    f.chart.addLayer(1, maRed);
    f.chart.draw();
    const QImage before = f.published();
    f.chart.removeLayer(QStringLiteral("ZZZZZZZZ"));
    EXPECT_EQ(f.view.publishCount(), 2u);
    EXPECT_EQ(f.chart.IndexLayers().size(), 1u);
    EXPECT_EQ(f.published(), before);
}

TEST(ChartLayers, ExtensionLayersGetAnEmptyOverlayThatResizeClears) {
    ChartFixture f;
    f.rec.datalist = wavySeries(300);
    const QString ext = f.chart.addLayer(2, QStringLiteral(R"({"style":"left:10px"})"));
    f.chart.addLayer(1, maRed);
    ASSERT_EQ(f.chart.IndexLayers().size(), 2u);
    const LayerRecord& l = f.chart.IndexLayers()[0];
    EXPECT_EQ(l.inxType, LayerRecord::Extension);
    EXPECT_EQ(l.style, QStringLiteral("left:10px"));
    EXPECT_EQ(l.width, 0);
    EXPECT_EQ(l.height, 0);
    ASSERT_TRUE(l.obj);
    EXPECT_EQ(f.view.layers().size(), 2u); // bottom + overlay

    f.chart.ModifyLayer(ext, QStringLiteral(R"({"style":"top:5px","k":1})"));
    EXPECT_EQ(f.chart.IndexLayers()[0].style, QStringLiteral("top:5px"));
    EXPECT_EQ(f.chart.IndexLayers()[0].attributes().value("k").toInt(), 1);

    f.view.setSize(QSize(400, 300));
    f.chart.resize();
    EXPECT_EQ(f.view.layers().size(), 1u); // only the new bottom layer
    EXPECT_FALSE(f.chart.IndexLayers()[0].obj);
    EXPECT_EQ(f.chart.IndexLayers().size(), 2u); // the records stay
    f.chart.removeLayer(ext);                    // releases nothing twice
    EXPECT_EQ(f.chart.IndexLayers().size(), 1u);
    EXPECT_EQ(f.view.layers().size(), 1u);
}

TEST(ChartLayers, RemovingAnExtensionReleasesItsOverlay) {
    ChartFixture f;
    const QString ext = f.chart.addLayer(2, QStringLiteral("{}"));
    EXPECT_EQ(f.view.layers().size(), 2u);
    f.chart.removeLayer(ext);
    EXPECT_EQ(f.view.layers().size(), 1u);
    EXPECT_TRUE(f.chart.IndexLayers().empty());
}

TEST(ChartLayers, InvalidJsonAddsNothing) {
    ChartFixture f;
    EXPECT_THROW(f.chart.addLayer(1, QStringLiteral("{type:MA")), ConversionError);
    EXPECT_TRUE(f.chart.IndexLayers().empty());
}

TEST(ChartLayers, ModifyWithAnUnknownKeyDoesNothing) {
    ChartFixture f;
    f.chart.addLayer(1, maRed);
    f.chart.ModifyLayer(QStringLiteral("ZZZZZZZZ"), QStringLiteral(R"({"type":"BB"})"));
    EXPECT_EQ(f.chart.IndexLayers()[0].attributes().value("type").toString(), QStringLiteral("MA"));
    EXPECT_EQ(f.view.publishCount(), 0u);
}
