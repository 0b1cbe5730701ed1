// The chart style as the drawing reads it: widths in either JSON form, colours in the style
// colour notation, and a bad colour that fails only when it is read.

#include "chart/ChartStyle.h"
#include "chart/ChartData.h"

#include <QJsonObject>

#include <gtest/gtest.h>

using namespace kovan;

TEST(ChartStyle, WidthsAndLineTypeReadInEitherJsonForm) {
    struct Case {
        QJsonObject style;
        int kwidth, kmargin, step;
        bool candles;
    };
    const Case cases[] = {
        {QJsonObject{}, 0, 0, 0, true},
        {QJsonObject{{"kwidth", 3}, {"kmargin", 1}, {"linetype", 0}}, 3, 1, 4, true},
        {QJsonObject{{"kwidth", "5"}, {"kmargin", "1"}, {"linetype", "1"}}, 5, 1, 6, false},
        {QJsonObject{{"kwidth", "wide"}, {"linetype", 2}}, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        const ChartStyle s(c.style);
        EXPECT_EQ(s.kwidth(), c.kwidth);
        EXPECT_EQ(s.kmargin(), c.kmargin);
        EXPECT_EQ(s.step(), c.step);
        EXPECT_EQ(s.candles(), c.candles);
    }
}

TEST(ChartStyle, ABadColourFailsOnlyWhenItIsRead) {
    const QJsonObject json{{"back", "#000000"},
                           {"front", "red"},
                           {"broken", ""},
                           {"yinzhu", 123456},
                           {"yangzhu", "#12"}};
    ChartStyle style;
    ASSERT_NO_THROW(style = ChartStyle(json));
    EXPECT_EQ(style.colour(ChartStyle::Back), 0xFF000000u);
    EXPECT_EQ(style.colour(ChartStyle::Broken), 0u);          // empty: transparent black
    EXPECT_EQ(style.colour(ChartStyle::Yinzhu), 0xFF123456u); // a number reads as its digits
    EXPECT_EQ(style.colour(ChartStyle::Yinxian), 0u);         // missing: as empty
    for (const ChartStyle::Colour bad : {ChartStyle::Front, ChartStyle::Yangzhu}) {
        try {
            style.colour(bad);
            ADD_FAILURE() << "colour " << bad << " read";
        } catch (const InvalidColorError& e) {
            EXPECT_STREQ(e.what(), "Invalid Color string");
        }
    }
    const ChartStyle empty;
    for (int c = 0; c < ChartStyle::ColourCount; ++c)
        EXPECT_EQ(empty.colour(ChartStyle::Colour(c)), 0u);
}
