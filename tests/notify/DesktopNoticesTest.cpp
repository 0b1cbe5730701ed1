// Which notices go to the desktop, what they become there, and what the server's answers do.

#include "notify/DesktopNotices.h"

#include "core/NameValueList.h"
#include "notify/NoticeList.h"

#include "FakeNoticeSender.h"

#include <gtest/gtest.h>

#include <vector>

namespace kovan {
namespace {

struct SettingCase {
    const char* name;
    const char* line; // config.dat's line, "" for none
    bool placesItself;
    bool on;
};

void PrintTo(const SettingCase& c, std::ostream* os) {
    *os << c.name;
}

const SettingCase kSettingCases[] = {
    {"X11DefaultOff", "", true, false},
    {"WaylandDefaultOn", "", false, true},
    {"X11TurnedOn", "sysnotify=1", true, true},
    {"WaylandTurnedOff", "sysnotify=0", false, false},
    {"X11KeptOff", "sysnotify=0", true, false},
    {"WaylandKeptOn", "sysnotify=1", false, true},
    {"KeyInOtherCase", "SysNotify=1", true, true},
    {"UnknownValueIsTheDefaultOnX11", "sysnotify=yes", true, false},
    {"UnknownValueIsTheDefaultOnWayland", "sysnotify=yes", false, true},
};

class SysNotifySetting : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SysNotifySetting, DecidesWhetherNoticesGoOut) {
    const SettingCase& c = GetParam();
    NameValueList settings({QStringLiteral("AUTHKEY=x")});
    if (*c.line)
        settings.setLines({QStringLiteral("AUTHKEY=x"), QString::fromLatin1(c.line)});
    EXPECT_EQ(DesktopNotices::isOn(settings, c.placesItself), c.on);

    // What a toggle writes reads back as itself on either platform.
    for (const bool on : {true, false}) {
        DesktopNotices::setOn(settings, on);
        EXPECT_EQ(DesktopNotices::isOn(settings, c.placesItself), on);
        EXPECT_EQ(settings.value(u"sysnotify"), on ? "1" : "0");
    }
    EXPECT_EQ(settings.value(u"AUTHKEY"), "x"); // other lines stay
}

INSTANTIATE_TEST_SUITE_P(Defaults, SysNotifySetting, ::testing::ValuesIn(kSettingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopNoticeText, BodyMarkupIsEscapedAndTheSummaryIsKept) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"卖出 1932.50", "卖出 1932.50"},
        {"<b>粗</b>", "&lt;b&gt;粗&lt;/b&gt;"},
        {"a & b", "a &amp; b"},
        {"&amp;", "&amp;amp;"},
        {"<a href=\"x\">链接</a>", "&lt;a href=\"x\"&gt;链接&lt;/a&gt;"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopNotices::bodyText(QString::fromUtf8(c.in)), QString::fromUtf8(c.out))
            << c.in;

    const DesktopNotice n = DesktopNotices::noticeOf(
        rbMsgRecord::make("<新信号> & 黄金", "卖出 <1932.50>", "viewinfo", "详情", "p", 0));
    EXPECT_EQ(n.summary, "<新信号> & 黄金");
    EXPECT_EQ(n.body, "卖出 &lt;1932.50&gt;");
}

TEST(DesktopNoticeText, CarriesTheClientsNameIconActionAndHints) {
    const DesktopNotice n =
        DesktopNotices::noticeOf(rbMsgRecord::make("标题", "内容", "", "", "", 0));
    EXPECT_EQ(n.appName, "kovan");
    EXPECT_EQ(n.appIcon, "kovan");
    EXPECT_EQ(n.actions, (QStringList{"default", "查看"}));
    EXPECT_EQ(n.hints.value("desktop-entry").toString(), "kovan");
    EXPECT_EQ(n.hints.value("suppress-sound").toBool(), true);
    EXPECT_EQ(n.hints.size(), 2);
    EXPECT_EQ(n.expireTimeout, -1);
}

class DesktopNoticesTest : public ::testing::Test {
protected:
    DesktopNotices notices{[this]() -> NoticeSender* {
                               ++made;
                               return noBus ? nullptr : &sender;
                           },
                           [this](int index) { viewed << index; }};
    test::FakeNoticeSender sender;
    bool noBus = false;
    int made = 0;
    QList<int> viewed;
    const rbMsgRecord notice = rbMsgRecord::make("标题", "内容", "viewinfo", "", "", 0);
};

TEST_F(DesktopNoticesTest, OffSendsNothingAndNeverReachesForTheBus) {
    notices.noticeRaised(0, notice, false);
    notices.noticeRaised(1, notice, false);
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(sender.sentNotices.isEmpty());
}

TEST_F(DesktopNoticesTest, EachNoticeIsANewNotificationOnOneSender) {
    notices.noticeRaised(0, notice, true);
    notices.noticeRaised(1, rbMsgRecord::make("二", "", "", "", "", 0), true);
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(sender.eventsSet());
    ASSERT_EQ(sender.sentNotices.size(), 2);
    EXPECT_EQ(sender.sentNotices[0], DesktopNotices::noticeOf(notice));
    EXPECT_EQ(sender.sentNotices[1].summary, "二");
    EXPECT_EQ(notices.shownCount(), 0); // no reply yet
    sender.answerAll();
    EXPECT_EQ(notices.shownCount(), 2);
}

TEST_F(DesktopNoticesTest, NoBusSendsNothing) {
    noBus = true;
    notices.noticeRaised(0, notice, true);
    notices.noticeRaised(1, notice, true);
    EXPECT_EQ(made, 1); // asked once, not at every notice
    EXPECT_TRUE(sender.sentNotices.isEmpty());
}

TEST_F(DesktopNoticesTest, TheDefaultActionOfOurIdViewsItsNotice) {
    const uint first = sender.firstId();
    notices.noticeRaised(3, notice, true);
    notices.noticeRaised(4, notice, true);
    sender.answerAll();
    const struct {
        uint id;
        const char* key;
        QList<int> viewed;
    } cases[] = {
        {first + 1, "default", {4}}, {first, "default", {3}},
        {first + 7, "default", {}}, // someone else's notification
        {first, "other", {}},       // an action we never offered
        {0, "default", {}},
    };
    for (const auto& c : cases) {
        viewed.clear();
        sender.invoke(c.id, QString::fromLatin1(c.key));
        // As vectors: Qt 6.4 compares two empty lists of ints with memcmp on a null pointer,
        // which the undefined-behaviour checks report.
        EXPECT_EQ(std::vector<int>(viewed.begin(), viewed.end()),
                  std::vector<int>(c.viewed.begin(), c.viewed.end()))
            << c.id << ' ' << c.key;
    }
}

TEST_F(DesktopNoticesTest, ClosedIdsAreForgotten) {
    const uint first = sender.firstId();
    notices.noticeRaised(0, notice, true);
    notices.noticeRaised(1, notice, true);
    sender.answerAll();
    sender.close(first);
    sender.close(first + 9); // not ours: nothing changes
    EXPECT_FALSE(notices.knows(first));
    EXPECT_TRUE(notices.knows(first + 1));
    EXPECT_EQ(notices.shownCount(), 1);
    sender.invoke(first, QStringLiteral("default"));
    EXPECT_TRUE(viewed.isEmpty());
    sender.invoke(first + 1, QStringLiteral("default"));
    EXPECT_EQ(viewed, QList<int>{1});
}

} // namespace
} // namespace kovan
