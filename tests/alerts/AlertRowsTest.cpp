// The alerts window's rows: names, condition and prices with the symbol's decimals, and the
// state an alert is in.

#include "AlertTestSupport.h"

#include "alerts/AlertRows.h"

#include "ScopedTimeZone.h"

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

TEST(AlertRows, EveryColumnOfARow) {
    const test::ScopedTimeZone zone("UTC0");
    const SyncTables t = tablesWithBids({"XAU=2031.45"});
    PriceAlert triggered = alert("XAU", 2050, Rise, false, "止盈");
    triggered.state = AlertState::Triggered;
    triggered.triggeredAtMs = 1700000000123; // 2023-11-14 22:13:20 UTC
    PriceAlert again = triggered;
    again.repeat = true;
    PriceAlert off = alert("XAU", 2000, Fall, true);
    off.enabled = false;
    const struct {
        PriceAlert alert;
        QStringList row; // name, condition, price, bid, note, mode, state
    } cases[] = {
        {alert("XAU", 2050, Rise),
         {"黄金美元", "升至", "2050.00", "2031.45", "", "一次", "等待中"}},
        {alert("XAGRMB", 5000, Fall, true),
         {"现货白银", "跌至", "5000", "—", "", "重复", "等待中"}},
        {triggered,
         {"黄金美元", "升至", "2050.00", "2031.45", "止盈", "一次", "已触发 11-14 22:13:20"}},
        {again,
         {"黄金美元", "升至", "2050.00", "2031.45", "止盈", "重复",
          "已触发 11-14 22:13:20，回到起始侧后再次提醒"}},
        {off, {"黄金美元", "跌至", "2000.00", "2031.45", "", "重复", "已停用"}},
        {alert("GONE", 12.5, Rise),
         {"GONE", "升至", "12.5", "—", "", "一次", "等待（品种未同步）"}},
    };
    for (const auto& c : cases) {
        const AlertRow r = alertRow(c.alert, symbolQuote(t, c.alert.symbol));
        EXPECT_EQ((QStringList{r.name, r.condition, r.price, r.bid, r.note, r.mode, r.state}),
                  c.row);
    }
}

} // namespace
