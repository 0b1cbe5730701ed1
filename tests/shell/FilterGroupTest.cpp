#include "shell/FilterGroup.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kovan {
namespace {

FilterGroup groupNamed(const QString& name) {
    for (const FilterGroup& g : FilterGroup::sectionGroups())
        if (g.name() == name)
            return g;
    ADD_FAILURE() << "no group " << name.toStdString();
    return FilterGroup({}, {}, {}, {});
}

struct ClickCase {
    const char* group;
    int tag;
    const char* view;
    const char* script;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.group << " " << c.tag;
}

class FilterClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(FilterClicks, RunThePageFunctionWithTheTag) {
    const ClickCase c = GetParam();
    FilterGroup g = groupNamed(QString::fromLatin1(c.group));
    EXPECT_EQ(g.tag(), 1);
    const auto script = g.click(c.tag);
    ASSERT_TRUE(script.has_value());
    EXPECT_EQ(*script, QString::fromLatin1(c.script));
    EXPECT_EQ(g.view(), QString::fromLatin1(c.view));
    EXPECT_EQ(g.tag(), c.tag);
}

INSTANTIATE_TEST_SUITE_P(Groups, FilterClicks,
                         ::testing::Values(ClickCase{"sgBtnGrp", 2, "sgWeb", "showPostype(2)"},
                                           ClickCase{"sgBtnGrp", 3, "sgWeb", "showPostype(3)"},
                                           ClickCase{"dtBtnGrp", 3, "dtWeb", "showDataType(3)"},
                                           ClickCase{"ayBtnGrp", 4, "ayWeb", "showArtType(4)"},
                                           ClickCase{"plBtnGrp", 1, "plWeb", "showPlanType(1)"}));

TEST(FilterGroup, CaptionsInButtonOrder) {
    const FilterGroup sg = groupNamed("sgBtnGrp");
    EXPECT_EQ(sg.captions(), QStringList({"全部", "看涨", "看跌"}));
    EXPECT_EQ(sg.captions().indexOf("看涨") + 1, 2);
    EXPECT_EQ(groupNamed("ayBtnGrp").count(), 4);
    EXPECT_EQ(groupNamed("RzPanel14").captions(), QStringList({"平铺", "列表"}));
}

TEST(FilterGroup, TagsOfTenAndAboveDoNothing) {
    FilterGroup g = groupNamed("ayBtnGrp");
    ASSERT_TRUE(g.click(3));
    EXPECT_FALSE(g.click(10).has_value());
    EXPECT_FALSE(g.click(100).has_value());
    EXPECT_EQ(g.tag(), 3);
}

TEST(FilterGroup, StyleClickNeedsSetStyleInThePage) {
    FilterGroup g = groupNamed("RzPanel14");
    EXPECT_FALSE(g.styleClick(2, "<div>plain list</div>").has_value());
    EXPECT_EQ(g.tag(), 2); // the group follows in every case
    const auto script = g.styleClick(1, "<script>function setStyle(s){}</script>");
    ASSERT_TRUE(script.has_value());
    EXPECT_EQ(*script, "setStyle(1)");
    EXPECT_EQ(g.tag(), 1);
    EXPECT_FALSE(FilterGroup::styleScript(2, "").has_value());
    EXPECT_FALSE(FilterGroup::styleScript(2, "setstyle").has_value()); // exact text
}

using Slice = FilterGroup::Slice;

TEST(FilterGroup, SlicesOfFirstMiddleAndLastButtons) {
    // Signal group, "看涨" (2) selected: "全部" first and normal, "看涨" middle and selected,
    // "看跌" last and normal.
    EXPECT_EQ(FilterGroup::slices(1, 2, 3, 60, 25),
              (QList<Slice>{
                  {7, QRect(0, 0, 4, 25)}, {8, QRect(4, 0, 56, 25)}, {14, QRect(59, 0, 1, 25)}}));
    EXPECT_EQ(FilterGroup::slices(2, 2, 3, 60, 25),
              (QList<Slice>{{11, QRect(0, 0, 60, 25)}, {14, QRect(59, 0, 1, 25)}}));
    EXPECT_EQ(FilterGroup::slices(3, 2, 3, 60, 25),
              (QList<Slice>{{9, QRect(56, 0, 4, 25)}, {8, QRect(0, 0, 56, 25)}}));
    // Analysis group: tags 2 and 3 are middle buttons, 4 the last.
    EXPECT_EQ(FilterGroup::slices(3, 1, 4, 60, 25).size(), 2);
    EXPECT_EQ(FilterGroup::slices(3, 1, 4, 60, 25).front().image, 8);
    EXPECT_EQ(FilterGroup::slices(4, 4, 4, 60, 25).front(), (Slice{12, QRect(56, 0, 4, 25)}));
    EXPECT_EQ(FilterGroup::slices(1, 1, 2, 60, 25).front(), (Slice{10, QRect(0, 0, 4, 25)}));
}

TEST(FilterGroup, SingleButtonAlwaysSelected) {
    EXPECT_EQ(FilterGroup::singleSlices(60, 25),
              (QList<Slice>{
                  {10, QRect(0, 0, 4, 25)}, {11, QRect(4, 0, 52, 25)}, {12, QRect(56, 0, 4, 25)}}));
}

} // namespace
} // namespace kovan
