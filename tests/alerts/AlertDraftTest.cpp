// The add and edit dialog's rules: the price on the symbol's grid, the direction from the bid
// (or the member's pick without one), the refusals and their texts.

#include "AlertTestSupport.h"

#include "alerts/AlertDraft.h"
#include "alerts/SymbolQuote.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

TEST(AlertDraft, DirectionFromTheBidPriceOnTheGrid) {
    const SyncTables t =
        tablesWithBids({"XAU=2031.45", "XAGRMB=5632", "AIDRMB=18965"}); // EURUSD: not listed
    const struct {
        const char* symbol;
        double price;
        std::optional<AlertDirection> picked;
        double price_;                         // as kept
        std::optional<AlertDirection> becomes; // none: refused
        const char* refusal;
    } cases[] = {
        {"XAU", 2050.004, std::nullopt, 2050.00, Rise, ""},
        {"XAU", 2010.996, Fall /* ignored: there is a bid */, 2011.00, Fall, ""},
        {"XAU", 2031.449, std::nullopt, 2031.45, std::nullopt, "当前买价已在此价位"},
        {"XAGRMB", 5632.6, std::nullopt, 5633, Rise, ""},
        {"AIDRMB", 18967.4, std::nullopt, 18965, std::nullopt, "当前买价已在此价位"},
        {"AIDRMB", 18968, std::nullopt, 18970, Rise, ""},
        {"XAU", 0, std::nullopt, 0, std::nullopt, "请输入大于 0 的价格"},
        {"XAU", 0.004, std::nullopt, 0, std::nullopt, "请输入大于 0 的价格"},
        {"EURUSD", 1.1, Rise, 0, std::nullopt, "该品种不在行情列表中"},
    };
    for (const auto& c : cases) {
        AlertDraft d;
        d.symbol = QString::fromLatin1(c.symbol);
        d.price = c.price;
        d.chosenDirection = c.picked;
        d.note = "n";
        d.repeat = true;
        const DraftOutcome o = makeAlert(d, symbolQuote(t, d.symbol));
        if (!c.becomes) {
            EXPECT_FALSE(o.alert) << c.symbol << " " << c.price;
            EXPECT_EQ(o.refusal, QString::fromUtf8(c.refusal)) << c.symbol << " " << c.price;
            continue;
        }
        ASSERT_TRUE(o.alert) << c.symbol << " " << c.price << o.refusal.toStdString();
        EXPECT_EQ(o.alert->price, c.price_) << c.symbol << " " << c.price;
        EXPECT_EQ(o.alert->direction, *c.becomes) << c.symbol << " " << c.price;
        EXPECT_EQ(o.alert->note, "n");
        EXPECT_TRUE(o.alert->repeat);
        EXPECT_EQ(o.alert->state, AlertState::Waiting);
    }
}

TEST(AlertDraft, WithoutABidTheMemberPicksTheDirection) {
    const SyncTables t = tablesWithBids({}); // symbols synced, no bid yet
    AlertDraft d;
    d.symbol = "XAU";
    d.price = 2050;
    EXPECT_EQ(makeAlert(d, symbolQuote(t, "XAU")).refusal, "尚无买价，请选择提醒方向");
    d.chosenDirection = Fall;
    const DraftOutcome o = makeAlert(d, symbolQuote(t, "XAU"));
    ASSERT_TRUE(o.alert);
    EXPECT_EQ(o.alert->direction, Fall);
}

TEST(AlertDraft, TheBooksRefusalsHaveTheirTexts) {
    EXPECT_EQ(refusalText(PriceAlertBook::Outcome::TooMany),
              "最多可设置 500 个价格提醒，请先删除不再需要的提醒");
    EXPECT_EQ(refusalText(PriceAlertBook::Outcome::NotFound), "该提醒已被删除");
    EXPECT_TRUE(refusalText(PriceAlertBook::Outcome::Done).isEmpty());
}

TEST(SymbolQuote, FromTheSymbolTableAndTheQuoteTable) {
    const SyncTables t = tablesWithBids({"XAU=2031.45", "XAGRMB=n/a"});
    const std::optional<SymbolQuote> gold = symbolQuote(t, "XAU");
    ASSERT_TRUE(gold);
    EXPECT_EQ(gold->label(), "黄金美元 (XAU)");
    EXPECT_EQ(gold->minpip, 0.01);
    EXPECT_EQ(gold->decimals, 2);
    EXPECT_EQ(gold->bid, 2031.45);
    EXPECT_EQ(symbolQuote(t, "XAGRMB")->bid, std::nullopt); // a bid that is no number
    EXPECT_EQ(symbolQuote(t, "EURUSD"), std::nullopt);
    EXPECT_EQ(symbolQuotes(t).size(), 3u);
    // The bid line the quote table's own look-up finds: the first, letter case ignored.
    SyncTables odd = t;
    odd.quoteTable.setLines({"XAU_showname=黄金美元", "no line", "xau_bid=2031.40", "XAU_BID=9"});
    EXPECT_EQ(symbolQuote(odd, "XAU")->bidText, odd.quoteTable.value(u"XAU_BID"));
    EXPECT_EQ(symbolQuote(odd, "XAU")->bid, 2031.40);
    EXPECT_EQ(roundToPip(1.085326, 0.00001, 5), 1.08533);
    EXPECT_EQ(roundToPip(147.3826, 0, 3), 147.383); // no step: the decimals alone
}

} // namespace
