#include "shell/ClockText.h"
#include "shell/MottoTyper.h"

#include <gtest/gtest.h>

namespace kovan {
namespace {

TEST(MottoTyper, TypesOutAndStartsAgain) {
    MottoTyper m;
    const QString full = QStringLiteral("财富天下 互帮共赢");
    ASSERT_EQ(full.size(), 9);
    const QStringList expected{"",
                               "财",
                               "财富",
                               "财富天",
                               "财富天下",
                               "财富天下 ",
                               "财富天下 互",
                               "财富天下 互帮",
                               "财富天下 互帮共",
                               full,
                               full,
                               "",
                               "财"};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m.tick(), expected[i]) << "tick " << i;
}

TEST(MottoTyper, TagRunsZeroToTen) {
    MottoTyper m;
    EXPECT_EQ(m.tag(), 0);
    for (int i = 1; i <= 10; ++i) {
        m.tick();
        EXPECT_EQ(m.tag(), i);
    }
    m.tick();
    EXPECT_EQ(m.tag(), 0);
}

TEST(ClockText, FormatWithWeekday) {
    // 2014-03-21 was a Friday.
    EXPECT_EQ(ClockText::format(QDateTime(QDate(2014, 3, 21), QTime(15, 15, 16))),
              "2014-03-21 15:15:16 星期五");
    EXPECT_EQ(ClockText::format(QDateTime(QDate(2026, 1, 5), QTime(7, 3, 9))),
              "2026-01-05 07:03:09 星期一");
}

TEST(ClockText, MidnightSaturdayToSunday) {
    QDateTime now(QDate(2026, 12, 12), QTime(23, 59, 59)); // a Saturday
    ClockText clock([&now] { return now; });
    EXPECT_EQ(clock.tick(), "2026-12-12 23:59:59 星期六");
    now = now.addSecs(1);
    EXPECT_EQ(clock.tick(), "2026-12-13 00:00:00 星期天");
}

TEST(ClockText, DesignText) {
    EXPECT_EQ(ClockText::designText(), "2014-03-21 15:15:16 星期一");
}

} // namespace
} // namespace kovan
