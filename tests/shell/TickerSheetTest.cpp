#include "shell/TickerSheet.h"
#include "core/NameValueList.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kovan {
namespace {

using Cell = TickerSheet::Cell;
using Entry = TickerSheet::Entry;

QList<Entry> entries(int n) {
    QList<Entry> out;
    for (int i = 0; i < n; ++i)
        out.append(
            {QStringLiteral("品种%1").arg(i), QStringLiteral("%1.25").arg(100 + i), i % 2 == 1});
    return out;
}

TEST(TickerSheet, TwelveSymbolsInA895PixelSheet) {
    EXPECT_EQ(TickerSheet::perRow(895), 6);
    EXPECT_EQ(TickerSheet::rows(12, 6), 2);
    EXPECT_EQ(TickerSheet::height(2), 75);
    const QList<Cell> cells = TickerSheet::cells(12, 6);
    ASSERT_EQ(cells.size(), 18);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(cells[i], (Cell{i, i % 6, i / 6})) << i;
    // The third row repeats symbols 0–5.
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(cells[12 + c], (Cell{c, c, 2})) << c;
}

TEST(TickerSheet, ThreeSymbolsMakeOneRowAndItsCopy) {
    EXPECT_EQ(TickerSheet::rows(3, 6), 1);
    EXPECT_EQ(TickerSheet::height(1), 50);
    EXPECT_EQ(TickerSheet::cells(3, 6),
              (QList<Cell>{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {0, 0, 1}, {1, 1, 1}, {2, 2, 1}}));
}

TEST(TickerSheet, PartialLastRow) {
    // 7 symbols, 6 per row: row 1 holds only symbol 6; the copy row holds 0–5.
    const QList<Cell> cells = TickerSheet::cells(7, 6);
    ASSERT_EQ(cells.size(), 13);
    EXPECT_EQ(cells[6], (Cell{6, 0, 1}));
    EXPECT_EQ(cells[7], (Cell{0, 0, 2}));
}

TEST(TickerSheet, NoRoomOrNothingQuoted) {
    EXPECT_EQ(TickerSheet::perRow(139), 0);
    EXPECT_EQ(TickerSheet::rows(5, 0), 0);
    EXPECT_EQ(TickerSheet::rows(0, 6), 0);
    QImage sheet;
    EXPECT_EQ(TickerSheet::build(sheet, 139, entries(3), QImage(), QImage()), 0);
    EXPECT_TRUE(sheet.isNull());
}

TEST(TickerSheet, CellGeometry) {
    EXPECT_EQ(TickerSheet::arrowPos(0, 0), QPoint(3, 8));
    EXPECT_EQ(TickerSheet::textPos(0, 0), QPoint(15, 5));
    EXPECT_EQ(TickerSheet::arrowPos(2, 1), QPoint(283, 33));
    EXPECT_EQ(TickerSheet::textPos(5, 2), QPoint(715, 55));
    EXPECT_EQ(TickerSheet::cellText({"现货白银", "3521", false}), "  现货白银:3521");
}

struct ArrowCase {
    const char* cg;
    bool down;
};

void PrintTo(const ArrowCase& c, std::ostream* os) {
    *os << "CG '" << c.cg << "'";
}
class ArrowRule : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowRule, OnlyMinusOneGivesTheDownArrow) {
    NameValueList quotes;
    quotes.setValue(u"XAG_showname", "白银");
    quotes.setValue(u"XAG_BID", "3521");
    quotes.setValue(u"XAG_CG", QString::fromLatin1(GetParam().cg)); // "" deletes the line
    const QList<Entry> e = TickerSheet::entries({"XAG"}, quotes);
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e[0].down, GetParam().down);
    EXPECT_EQ(e[0].showName, "白银");
    EXPECT_EQ(e[0].bid, "3521");
}

INSTANTIATE_TEST_SUITE_P(Values, ArrowRule,
                         ::testing::Values(ArrowCase{"-1", true}, ArrowCase{"1", false},
                                           ArrowCase{"0", false}, ArrowCase{"", false},
                                           ArrowCase{"-1.0", false}, ArrowCase{"-10", false}));

TEST(TickerSheet, MissingValuesReadEmpty) {
    const QList<Entry> e = TickerSheet::entries({"CU"}, NameValueList());
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(TickerSheet::cellText(e[0]), "  :");
    EXPECT_FALSE(e[0].down);
}

TEST(TickerSheet, ValuesFollowTheQuoteTableLookUp) {
    // The first line of a name, letter case ignored, as the quote table reads it.
    const NameValueList quotes({"junk", "xag_showname=白银", "XAG_SHOWNAME=other", "Xag_Bid=3521",
                                "XAG_CG=1", "xag_cg=-1", "cu_cg=-1"});
    const QList<Entry> e = TickerSheet::entries({"XAG", "CU"}, quotes);
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e[0], (Entry{"白银", "3521", false}));
    EXPECT_EQ(e[1], (Entry{"", "", true}));
}

class TickerSheetPixels : public ::testing::Test {
protected:
    void SetUp() override {
        up = QImage(12, 10, QImage::Format_ARGB32);
        up.fill(QColor::fromRgba(TickerSheet::kArrowSkip));
        up.setPixel(5, 5, qRgb(255, 0, 0));
        down = QImage(12, 10, QImage::Format_ARGB32);
        down.fill(qRgb(0, 200, 0));
    }
    QImage up, down;
};

TEST_F(TickerSheetPixels, BackgroundArrowsAndRepeatedRow) {
    QImage sheet;
    const QList<Entry> list = entries(12); // odd symbols go down
    ASSERT_EQ(TickerSheet::build(sheet, 895, list, up, down), 2);
    ASSERT_EQ(sheet.size(), QSize(895, 75));
    // Background outside any cell (right of the sixth cell).
    EXPECT_EQ(sheet.pixel(890, 2), TickerSheet::kBackground);
    // Symbol 0: up arrow; its skip pixels leave the background, its body shows.
    EXPECT_EQ(sheet.pixel(3, 8), TickerSheet::kBackground);
    EXPECT_EQ(sheet.pixel(3 + 5, 8 + 5), qRgb(255, 0, 0));
    // Symbol 1: the down arrow copied whole.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(sheet.pixel(140 + 3 + x, 8 + y), qRgb(0, 200, 0)) << x << "," << y;
    // Some text was drawn in symbol 0's text area.
    bool text = false;
    for (int y = 5; y < 25 && !text; ++y)
        for (int x = 15; x < 140 && !text; ++x)
            text = sheet.pixel(x, y) != TickerSheet::kBackground;
    EXPECT_TRUE(text);
    // The copy row equals the first row pixel for pixel.
    EXPECT_EQ(sheet.copy(0, 50, 895, 25), sheet.copy(0, 0, 895, 25));
    EXPECT_NE(sheet.copy(0, 25, 895, 25), sheet.copy(0, 0, 895, 25));
}

// At ratio 2 the sheet is drawn in device pixels: every cell at its doubled place, an arrow of
// the same ratio stamped pixel for pixel, a 1× arrow brought to its logical size, the text in
// the doubled font, the copy row still the first row.
TEST_F(TickerSheetPixels, ScaledSheetIsDrawnInDevicePixels) {
    QImage up2(24, 20, QImage::Format_ARGB32);
    up2.fill(QColor::fromRgba(TickerSheet::kArrowSkip));
    for (int y = 10; y < 12; ++y)
        for (int x = 10; x < 12; ++x)
            up2.setPixel(x, y, qRgb(255, 0, 0));
    up2.setDevicePixelRatio(2);
    QImage sheet;
    const QList<Entry> list = entries(12);
    ASSERT_EQ(TickerSheet::build(sheet, 895, list, up2, down, DeviceScale(2)), 2);
    ASSERT_EQ(sheet.size(), QSize(1790, 150));
    EXPECT_EQ(sheet.devicePixelRatio(), 2.0);
    // Symbol 0's up arrow at (6, 16): the keyed pixels leave the band colour.
    EXPECT_EQ(sheet.pixel(6, 16), TickerSheet::kBackground);
    EXPECT_EQ(sheet.pixel(6 + 10, 16 + 10), qRgb(255, 0, 0));
    EXPECT_EQ(sheet.pixel(6 + 11, 16 + 11), qRgb(255, 0, 0));
    EXPECT_EQ(sheet.pixel(6 + 12, 16 + 12), TickerSheet::kBackground);
    // Symbol 1's down arrow, a 1× picture, covers its 24 × 20 device pixels.
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 23; ++x)
            ASSERT_EQ(sheet.pixel(280 + 6 + x, 16 + y), qRgb(0, 200, 0)) << x << "," << y;
    EXPECT_EQ(sheet.pixel(280 + 6 + 25, 16 + 10), TickerSheet::kBackground);
    // The text reaches lower than a 1× text could: the font is twice the size.
    int lowest = -1;
    for (int y = 0; y < 50; ++y)
        for (int x = 30; x < 280; ++x)
            if (sheet.pixel(x, y) != TickerSheet::kBackground)
                lowest = std::max(lowest, y);
    EXPECT_GT(lowest, 2 * 5 + 16);
    EXPECT_EQ(sheet.copy(0, 100, 1790, 50), sheet.copy(0, 0, 1790, 50));
}

TEST_F(TickerSheetPixels, FractionalSheetSizesAreRounded) {
    QImage sheet;
    ASSERT_EQ(TickerSheet::build(sheet, 895, entries(12), up, down, DeviceScale(1.5)), 2);
    EXPECT_EQ(sheet.size(), QSize(1342, 112)); // 1342.5 and 112.5 to even
    EXPECT_EQ(sheet.devicePixelRatio(), 1.5);
}

} // namespace
} // namespace kovan
