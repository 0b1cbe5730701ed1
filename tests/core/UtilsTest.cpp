#include "core/Utils.h"
#include "ScopedTimeZone.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

using namespace kovan;

TEST(Utils, OrderTypeName) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELL", "市价卖出"},
        {"BUY", "市价买入"},
        {"SELL LIMIT", "高位卖出"},
        {"SELL STOP", "低位杀跌"},
        {"BUY LIMIT", "低位买入"},
        {"BUY STOP", "高位追涨"},
        {"sell", ""},
        {"SELL  LIMIT", ""},
        {"", ""},
    };
    for (const auto& [type, label] : cases)
        EXPECT_EQ(orderTypeName(type), QString::fromUtf8(label)) << type;
}

TEST(Utils, SplitStr) {
    const struct {
        const char* text;
        QStringList pieces;
    } cases[] = {
        {"a###b", {"a", "b"}},          {"###", {"", ""}},  {"", {""}},
        {"a###b###c", {"a", "b", "c"}}, {"a##b", {"a##b"}}, {"####", {"", "#"}},
        {"u###p###", {"u", "p", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitStr(c.text, "###"), c.pieces) << c.text;
}

TEST(Utils, WeekdayName) {
    // 2026-12-05 is a Saturday.
    const std::pair<QDate, const char*> cases[] = {
        {QDate(2026, 12, 5), "星期六"},  {QDate(2026, 12, 6), "星期天"},
        {QDate(2026, 12, 7), "星期一"},  {QDate(2026, 12, 8), "星期二"},
        {QDate(2026, 12, 9), "星期三"},  {QDate(2026, 12, 10), "星期四"},
        {QDate(2026, 12, 11), "星期五"},
    };
    for (const auto& [date, name] : cases)
        EXPECT_EQ(weekdayName(date), QString::fromUtf8(name)) << date.toString().toStdString();
}

using kovan::test::ScopedTimeZone;

TEST(Utils, WeekdayNameOfTodayIsThatOfTheLocalDate) {
    // Two zones 26 hours apart are always on different dates. In each, the name is the one of
    // the local weekday as the C library reckons it (tm_wday: 0 = Sunday).
    const char* const byWday[] = {"星期天", "星期一", "星期二", "星期三",
                                  "星期四", "星期五", "星期六"};
    QStringList names;
    for (const char* zone : {"XST-14", "YST12"}) {
        const ScopedTimeZone tz(zone);
        for (;;) {
            const std::time_t before = std::time(nullptr);
            const QString name = weekdayName();
            const std::time_t after = std::time(nullptr);
            std::tm a{}, b{};
            localtime_r(&before, &a);
            localtime_r(&after, &b);
            if (a.tm_wday != b.tm_wday)
                continue; // midnight passed meanwhile: read again
            EXPECT_EQ(name, QString::fromUtf8(byWday[a.tm_wday])) << zone;
            names << name;
            break;
        }
    }
    EXPECT_NE(names[0], names[1]);
}

TEST(Utils, WaitWithMessagesWithoutApplicationSleeps) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    QElapsedTimer t;
    t.start();
    waitWithMessages(30);
    EXPECT_GE(t.elapsed(), 30);
}

TEST(Utils, WaitWithMessagesKeepsEventsFlowing) {
    int argc = 1;
    char name[] = "utils";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    bool queued = false;
    QMetaObject::invokeMethod(
        &app, [&] { queued = true; }, Qt::QueuedConnection);
    // 0 or less: no wait, so nothing queued has run.
    waitWithMessages(0);
    waitWithMessages(-5);
    EXPECT_FALSE(queued);
    // A timer due before the end of the wait fires within it (timers fire in the order they
    // fall due, so this holds however late the loop wakes), and the queued call runs.
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    waitWithMessages(60);
    EXPECT_TRUE(queued);
    EXPECT_TRUE(fired);
    // Events that keep arriving do not hold the wait past its end.
    int reposts = 0;
    std::function<void()> repost = [&] {
        ++reposts;
        QMetaObject::invokeMethod(&app, repost, Qt::QueuedConnection);
    };
    repost();
    waitWithMessages(30);
    EXPECT_GT(reposts, 1);
}
