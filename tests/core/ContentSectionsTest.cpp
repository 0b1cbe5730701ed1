// The one table of the content sections: the names the data server, the page server and the
// pages know them by are fixed, so they are written out here once more as the oracle.
#include "core/ContentSections.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace kovan;

namespace {

struct Expected {
    ContentSection id;
    const char* pageKey;
    const char* navKey;
    const char* view;
    const char* path;
    const char* stamp;
    const char* flag;
    const char* caption;
    int navIndex;
};

const Expected kExpected[] = {
    {ContentSection::Signals, "sign", "sg", "sgWeb", "/tools/signlist/", "LUDsign", "signCHG",
     "信号", 0},
    {ContentSection::Articles, "arts", "ay", "ayWeb", "/tools/artlist/", "LUDarts", "artsCHG",
     "分析", 2},
    {ContentSection::Plans, "plan", "pl", "plWeb", "/tools/planlist/", "LUDplan", "planCHG", "策略",
     3},
    {ContentSection::Events, "mkte", "dt", "dtWeb", "/tools/mktevent/", "LUDmkts", "mktsCHG",
     "事件", 1},
};

TEST(ContentSections, TheTableInStampOrderWithTheNamesServersAndPagesUse) {
    ASSERT_EQ(contentSections().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        const ContentSectionInfo& s = contentSections()[i];
        const Expected& e = kExpected[i];
        SCOPED_TRACE(e.pageKey);
        EXPECT_EQ(s.id, e.id);
        EXPECT_EQ(&contentSection(e.id), &s);
        EXPECT_STREQ(s.pageKey, e.pageKey);
        EXPECT_STREQ(s.navKey, e.navKey);
        EXPECT_STREQ(s.viewName, e.view);
        EXPECT_STREQ(s.pagePath, e.path);
        EXPECT_STREQ(s.stampName, e.stamp);
        EXPECT_STREQ(s.changeFlag, e.flag);
        EXPECT_STREQ(s.caption, e.caption);
        EXPECT_EQ(s.navIndex, e.navIndex);
        EXPECT_EQ(contentSectionByPageKey(QString::fromLatin1(e.pageKey)), &s);
        EXPECT_EQ(contentSectionByNavKey(QString::fromLatin1(e.navKey)), &s);
    }
}

TEST(ContentSections, NavigationOrderHoldsEachSectionOnce) {
    std::set<std::string> seen;
    int index = 0;
    for (const ContentSectionInfo* s : contentSectionsInNavOrder()) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->navIndex, index++);
        seen.insert(s->pageKey);
    }
    EXPECT_EQ(seen.size(), std::size_t(kContentSectionCount));
    EXPECT_EQ(contentSectionsInNavOrder().front()->id, ContentSection::Signals);
}

TEST(ContentSections, LookUpsAreExactAndCaseSensitive) {
    for (const char* text : {"", "Sign", "SG", "rpae", "rt", "mkts", "sgWeb"}) {
        EXPECT_EQ(contentSectionByPageKey(QString::fromLatin1(text)), nullptr) << text;
        EXPECT_EQ(contentSectionByNavKey(QString::fromLatin1(text)), nullptr) << text;
    }
}

TEST(ContentSectionSet, HoldsWhatWasInserted) {
    ContentSectionSet set;
    EXPECT_TRUE(set.isEmpty());
    set.insert(ContentSection::Events);
    set.insert(ContentSection::Events);
    EXPECT_FALSE(set.isEmpty());
    EXPECT_TRUE(set.contains(ContentSection::Events));
    EXPECT_FALSE(set.contains(ContentSection::Signals));
    EXPECT_EQ(set, (ContentSectionSet{ContentSection::Events}));
    EXPECT_NE(set, (ContentSectionSet{ContentSection::Events, ContentSection::Plans}));
}

} // namespace
