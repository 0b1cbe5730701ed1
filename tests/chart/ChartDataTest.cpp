#include "chart/ChartData.h"

#include <gtest/gtest.h>

#include <QJsonObject>

#include <cmath>
#include <random>

using namespace kovan;

namespace {

ChartDataListRecord bar(qint32 dl, float o, float c, float l, float h) {
    return {dl, o, c, l, h};
}

ChartDataList closes(std::initializer_list<float> cs) {
    ChartDataList s;
    qint32 t = 1000;
    for (float c : cs)
        s.push_back(bar(t += 60, c + 1, c, c - 2, c + 3));
    return s;
}

} // namespace

TEST(ChartDataRecord, LayoutIsTwentyBytesOpenCloseLowHigh) {
    static_assert(sizeof(ChartDataListRecord) == 20);
    EXPECT_EQ(offsetof(ChartDataListRecord, dl), 0u);
    EXPECT_EQ(offsetof(ChartDataListRecord, open), 4u);
    EXPECT_EQ(offsetof(ChartDataListRecord, close), 8u);
    EXPECT_EQ(offsetof(ChartDataListRecord, low), 12u);
    EXPECT_EQ(offsetof(ChartDataListRecord, high), 16u);
}

TEST(ChartDataRecord, CodesAreCutToFifteenCharacters) {
    ChartDataInfoRecord r;
    r.setSymbol(QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    r.setPeriod(QStringLiteral("H1"));
    EXPECT_EQ(r.symbol, QStringLiteral("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(r.period, QStringLiteral("H1"));
}

struct ColourCase {
    const char* text;
    bool valid;
    quint32 argb;
};

void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ChartStyleColorTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ChartStyleColorTest, ParsesOrRejects) {
    const ColourCase c = GetParam();
    if (c.valid) {
        EXPECT_EQ(styleColor(QString::fromLatin1(c.text)), c.argb) << c.text;
    } else {
        try {
            styleColor(QString::fromLatin1(c.text));
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const InvalidColorError& e) {
            EXPECT_STREQ(e.what(), "Invalid Color string");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chart, ChartStyleColorTest,
    ::testing::Values(ColourCase{"", true, 0u}, ColourCase{"#00ff00", true, 0xFF00FF00u},
                      ColourCase{"#00FF00", true, 0xFF00FF00u},
                      ColourCase{"FF0000", true, 0xFFFF0000u},
                      ColourCase{"#FF00001", true, 0xFFFF0000u},
                      ColourCase{"#12ab9C", true, 0xFF12AB9Cu},
                      ColourCase{"##000000", true, 0xFF000000u}, ColourCase{"green", false, 0},
                      ColourCase{"red", false, 0}, ColourCase{"#12345", false, 0},
                      ColourCase{"#1234567A", false, 0}, ColourCase{"#GG0000", false, 0},
                      ColourCase{"#", false, 0}));

TEST(ChartStyleValues, NumbersAndStringsReadAlike) {
    const QJsonObject s{{"kwidth", "5"}, {"kmargin", 2}, {"back", "#000000"}};
    EXPECT_EQ(styleInt(s, u"kwidth"), 5);
    EXPECT_EQ(styleInt(s, u"kmargin"), 2);
    EXPECT_EQ(styleInt(s, u"missing"), 0);
    EXPECT_EQ(styleColor(s, u"back"), 0xFF000000u);
    EXPECT_EQ(styleColor(s, u"missing"), 0u);
}

TEST(ChartAvgPrice, ShortWindowNearStartDividesByBarsTaken) {
    const ChartDataList s = closes({10, 20, 60, 100, 200});
    EXPECT_DOUBLE_EQ(avgPrice(s, 2, 5, FieldClose), 30.0); // (10 + 20 + 60) / 3
    EXPECT_DOUBLE_EQ(avgPrice(s, 4, 2, FieldClose), 150.0);
    EXPECT_DOUBLE_EQ(avgPrice(s, 0, 1, FieldClose), 10.0);
}

TEST(ChartAvgPrice, FieldsByNumberAndEmptyWindows) {
    const ChartDataList s = closes({10, 20});
    EXPECT_DOUBLE_EQ(avgPrice(s, 1, 2, FieldOpen), 16.0);
    EXPECT_DOUBLE_EQ(avgPrice(s, 1, 2, FieldLow), 13.0);
    EXPECT_DOUBLE_EQ(avgPrice(s, 1, 2, FieldHigh), 18.0);
    EXPECT_DOUBLE_EQ(avgPrice(s, 1, 2, 4), 0.0); // unknown field adds nothing
    EXPECT_DOUBLE_EQ(avgPrice(s, 1, 0, FieldClose), 0.0);
    EXPECT_DOUBLE_EQ(avgPrice(s, -1, 3, FieldClose), 0.0);
    EXPECT_DOUBLE_EQ(avgPrice({}, 0, 3, FieldClose), 0.0);
}

TEST(ChartBandValues, CountOneGivesTheCloseThreeTimes) {
    const ChartDataList s = closes({10, 20, 35.5f});
    for (int k : {0, 1, 2, 5}) {
        const TMYDAr b = bandValues(s, 2, k, 1);
        EXPECT_DOUBLE_EQ(b[0], 35.5);
        EXPECT_DOUBLE_EQ(b[1], 35.5);
        EXPECT_DOUBLE_EQ(b[2], 35.5);
    }
}

TEST(ChartBandValues, OutsideTheSeriesGivesZeros) {
    const ChartDataList s = closes({10, 20});
    for (int i : {-1, 2, 100}) {
        const TMYDAr b = bandValues(s, i, 2, 20);
        EXPECT_EQ(b, (TMYDAr{0, 0, 0})) << i;
    }
}

TEST(ChartBandValues, PopulationDeviationDividesByN) {
    const ChartDataList s = closes({2, 4, 4, 4, 5, 5, 7, 9}); // mean 5, population sd 2
    const TMYDAr b = bandValues(s, 7, 2, 8);
    EXPECT_DOUBLE_EQ(b[1], 5.0);
    EXPECT_DOUBLE_EQ(b[0], 9.0);
    EXPECT_DOUBLE_EQ(b[2], 1.0);
}

// Differential check against a plain computation written the other way round (window taken
// forwards from its first bar, two passes over a copied slice).
TEST(ChartIndicators, MovingAverageAndBandsMatchAStraightforwardComputation) {
    std::mt19937 gen(12345);
    std::normal_distribution<float> step(0.0f, 3.0f);
    for (int trial = 0; trial < 20; ++trial) {
        ChartDataList s;
        float p = 1000.0f + float(trial);
        for (int i = 0; i < 200; ++i) {
            const float o = p;
            p += step(gen);
            s.push_back(bar(1000 + i * 60, o, p, std::min(o, p) - 1, std::max(o, p) + 1));
        }
        for (int count : {1, 2, 5, 20, 50, 250}) {
            for (int i = 0; i < int(s.size()); i += 7) {
                const int from = std::max(0, i - count + 1);
                std::vector<double> w;
                for (int j = from; j <= i; ++j)
                    w.push_back(s[size_t(j)].close);
                double mean = 0;
                for (double v : w)
                    mean += v;
                mean /= double(w.size());
                double var = 0;
                for (double v : w)
                    var += (v - mean) * (v - mean);
                const double sd = std::sqrt(var / double(w.size()));
                ASSERT_NEAR(avgPrice(s, i, count, FieldClose), mean, 1e-9 * std::fabs(mean));
                for (int k : {1, 2, 3}) {
                    const TMYDAr b = bandValues(s, i, k, count);
                    ASSERT_NEAR(b[1], mean, 1e-9 * std::fabs(mean));
                    ASSERT_NEAR(b[0], mean + k * sd, 1e-7);
                    ASSERT_NEAR(b[2], mean - k * sd, 1e-7);
                }
            }
        }
    }
}

// A copy of the bars is a snapshot that costs no copy: it shares the array until one side
// changes, and the side that changes gets an array of its own.
TEST(ChartDataSharedBars, ACopySharesTheBarsUntilOneSideChanges) {
    SharedChartDataList series = closes({10, 11, 12});
    const ChartDataList* array = &series.bars();
    const SharedChartDataList snapshot = series;
    EXPECT_TRUE(snapshot.sharesWith(series));
    EXPECT_FALSE(series.alone());
    series.push_back(bar(2000, 13, 13, 12, 14));
    EXPECT_FALSE(snapshot.sharesWith(series));
    EXPECT_EQ(&snapshot.bars(), array); // the snapshot keeps what it had
    EXPECT_EQ(snapshot, closes({10, 11, 12}));
    EXPECT_EQ(series.size(), 4u);
    EXPECT_EQ(series.back().dl, 2000);
    series.clear(); // the snapshot still keeps its bars
    EXPECT_TRUE(series.empty());
    EXPECT_EQ(snapshot.size(), 3u);
}

TEST(ChartDataSharedBars, TheOnlyHolderChangesInPlace) {
    SharedChartDataList series = closes({10, 11});
    { const SharedChartDataList dropped = series; }
    EXPECT_TRUE(series.alone());
    const ChartDataList* array = &series.bars();
    EXPECT_EQ(&series.edit(), array);

    SharedChartDataList none;
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.alone());
    EXPECT_FALSE(none.sharesWith(SharedChartDataList()));
    none.push_back(bar(1000, 1, 2, 1, 2));
    EXPECT_EQ(none.size(), 1u);
}
