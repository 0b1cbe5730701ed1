#include "core/Utils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

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
    EXPECT_EQ(weekdayName(), weekdayName(QDate::currentDate()));
}

TEST(Utils, WaitWithMessagesReturnsAtOnceForNonPositive) {
    QElapsedTimer t;
    t.start();
    waitWithMessages(0);
    waitWithMessages(-5);
    EXPECT_LT(t.elapsed(), 50); // generous: only "not a real wait" is asserted
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
    bool fired = false;
    QTimer::singleShot(5, [&] { fired = true; });
    QElapsedTimer t;
    t.start();
    waitWithMessages(60);
    EXPECT_TRUE(fired);
    EXPECT_GE(t.elapsed(), 59);
}
