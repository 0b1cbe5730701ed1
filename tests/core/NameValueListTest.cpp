#include "core/NameValueList.h"

#include <gtest/gtest.h>

using kovan::NameValueList;

TEST(NameValueList, LookupIgnoresCaseAndTakesFirstMatch) {
    const NameValueList list({"LocalAlert=1", "localalert=0", "plain line", "a=b=c", "=x"});
    EXPECT_EQ(list.value(u"localalert"), "1");
    EXPECT_EQ(list.value(u"LOCALALERT"), "1");
    EXPECT_EQ(list.value(u"a"), "b=c"); // value is everything after the first "="
    EXPECT_EQ(list.value(u"plain line"), "");
    EXPECT_FALSE(list.contains(u"plain line"));
    EXPECT_EQ(list.value(u"missing"), "");
    EXPECT_EQ(list.value(u""), "x");
}

TEST(NameValueList, SetReplacesFirstMatchInPlaceOrAppends) {
    NameValueList list({"one=1", "Two=2", "x", "two=22"});
    list.setValue(u"TWO", "3");
    EXPECT_EQ(list.lines(), (QStringList{"one=1", "TWO=3", "x", "two=22"}));
    list.setValue(u"three", "3");
    EXPECT_EQ(list.lines().last(), "three=3");
    EXPECT_EQ(list.size(), 5);
}

TEST(NameValueList, EmptyValueDeletesOnlyTheFirstMatch) {
    NameValueList list({"AUTHINFO=abc", "x", "authinfo=def"});
    list.setValue(u"AuthInfo", "");
    EXPECT_EQ(list.lines(), (QStringList{"x", "authinfo=def"}));
    list.setValue(u"authinfo", "");
    list.setValue(u"authinfo", ""); // nothing left to delete: no change
    EXPECT_EQ(list.lines(), (QStringList{"x"}));
    EXPECT_EQ(list.value(u"authinfo"), "");
}
