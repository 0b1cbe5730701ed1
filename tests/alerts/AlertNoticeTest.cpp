// What a triggered alert shows in its notice and writes to the log.

#include "AlertTestSupport.h"

#include "alerts/AlertNotice.h"

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

TEST(AlertNotice, NameBidConditionAndPriceWithTheSymbolsDecimalsThenTheNote) {
    const struct {
        PriceAlert alert;
        ReplyBid bid;
        const char* content;
        const char* log;
    } cases[] = {
        {alert("XAU", 2050, Rise, false, "止盈 1918"),
         {"XAU", "2050.1", 2050.1, "黄金美元", 2},
         "黄金美元 买价 2050.10 已升至 2050.00\n止盈 1918",
         "price alert XAU rises to 2050.00: bid 2050.1"},
        {alert("XAGRMB", 5630, Fall),
         {"XAGRMB", "5629", 5629, "现货白银", 0},
         "现货白银 买价 5629 已跌至 5630",
         "price alert XAGRMB falls to 5630: bid 5629"},
        {alert("EURUSD", 1.0853, Rise), // no display name: the code
         {"EURUSD", "1.08532", 1.08532, "", 5},
         "EURUSD 买价 1.08532 已升至 1.08530",
         "price alert EURUSD rises to 1.08530: bid 1.08532"},
    };
    for (const auto& c : cases) {
        const AlertTrigger t{c.alert, c.bid};
        const AlertNoticeText n = alertNoticeText(t);
        EXPECT_EQ(n.title, "价格提醒");
        EXPECT_EQ(n.content, QString::fromUtf8(c.content));
        EXPECT_EQ(n.viparam, c.alert.symbol); // "查看": the symbol's chart
        EXPECT_EQ(alertLogLine(t), QString::fromUtf8(c.log));
    }
}

} // namespace
