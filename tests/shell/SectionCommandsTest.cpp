#include "shell/SectionCommands.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(SectionCommands, RefreshPathsOnlyStrategyEndsInSlash) {
    EXPECT_EQ(SectionCommands::refresh("sg", "S1").path, "/tools/signlist/S1");
    EXPECT_EQ(SectionCommands::refresh("dt", "S1").path, "/tools/mktevent/S1");
    EXPECT_EQ(SectionCommands::refresh("ay", "S1").path, "/tools/artlist/S1");
    EXPECT_EQ(SectionCommands::refresh("pl", "S1").path, "/tools/planlist/S1/");
    EXPECT_EQ(SectionCommands::refresh("sg", "S1").view, "sgWeb");
    EXPECT_EQ(SectionCommands::refresh("dt", "S1").view, "dtWeb");
    EXPECT_EQ(SectionCommands::refresh("ay", "S1").view, "ayWeb");
    EXPECT_EQ(SectionCommands::refresh("pl", "S1").view, "plWeb");
    EXPECT_TRUE(SectionCommands::refresh("rt", "S1").view.isEmpty());
}

TEST(SectionCommands, ServicePages) {
    using P = SectionCommands::ServicePage;
    EXPECT_EQ(SectionCommands::servicePage("MySETBTPae", "abc"), (P{"正在关注", "myhold/abc", 0}));
    EXPECT_EQ(SectionCommands::servicePage("RzPanel9", "abc"),
              (P{"服务团队", "authorlist/abc", 0}));
    EXPECT_EQ(SectionCommands::servicePage("MyHotBtPae", "abc"),
              (P{"会员中心", "appadmin/abc", 0}));
    EXPECT_EQ(SectionCommands::servicePage("topUNLab", "abc"), (P{"会员中心", "appadmin/abc", 0}));
    EXPECT_EQ(SectionCommands::servicePage("sgBtnSet", "abc"),
              (P{"交易信号过滤", "signsets/abc", 1}));
    EXPECT_TRUE(SectionCommands::servicePage("navbt_sg", "abc").title.isEmpty());
    // The session id stays one path segment: no step out of "/tools/", no query.
    EXPECT_EQ(SectionCommands::servicePage("MyHotBtPae", "../x?y#z").params,
              "appadmin/..%2Fx%3Fy%23z");
    EXPECT_EQ(SectionCommands::refresh("pl", "a/b c").path, "/tools/planlist/a%2Fb%20c/");
}

TEST(SectionCommands, ServiceButtonTags) {
    using M = SectionCommands::Mouse;
    EXPECT_EQ(SectionCommands::serviceTag(M::Enter), 2);
    EXPECT_EQ(SectionCommands::serviceTag(M::Leave), 0);
    EXPECT_EQ(SectionCommands::serviceTag(M::Down), 1);
    EXPECT_EQ(SectionCommands::serviceTag(M::Up), 0);
    EXPECT_EQ(SectionCommands::serviceImage(0), 19);
    EXPECT_EQ(SectionCommands::serviceImage(2), 20);
    EXPECT_EQ(SectionCommands::serviceImage(1), 21);
}

TEST(SectionCommands, InstrumentScripts) {
    EXPECT_EQ(SectionCommands::instrumentScript("ASML_XAGRMB", "现货白银"),
              "showArtBySYM('现货白银')");
    EXPECT_EQ(SectionCommands::instrumentScript("ASML_ALL", "全部品种"), "showArtBySYM('')");
    EXPECT_EQ(SectionCommands::instrumentScript("ASML_FOREX", "外汇"), "showArtBySYM('外汇')");
    EXPECT_EQ(SectionCommands::instrumentScript("ASML_X", "it's"), "showArtBySYM('it\\'s')");
    ASSERT_EQ(SectionCommands::instruments().size(), 7);
    EXPECT_EQ(SectionCommands::instruments().front().name, "ASML_ALL");
    EXPECT_EQ(SectionCommands::instruments().back().caption, "外汇");
}

} // namespace
} // namespace kovan
