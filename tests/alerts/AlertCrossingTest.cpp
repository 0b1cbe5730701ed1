// The crossing rule as the sync worker applies it: each case sets alerts, feeds replies (their
// rate arrays, with or without the symbol in the symbol table) through the quote watcher and
// names the alerts each reply triggered. A reply that changed anything is handed on once.

#include "AlertTestSupport.h"

#include "alerts/AlertCrossing.h"
#include "alerts/AlertQuoteWatcher.h"
#include "alerts/PriceAlertBook.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

struct Named {
    const char* name;
    PriceAlert alert;
};

struct Reply {
    const char* rates;     // the reply's rate array
    bool xauListed = true; // XAU still in the symbol table
};

struct Case {
    const char* what;
    std::vector<Named> alerts;
    std::vector<Reply> replies;
    std::vector<QStringList> triggered; // per reply, in the order of the alerts
};

PriceAlert disabled(PriceAlert a) {
    a.enabled = false;
    return a;
}

const Case kCases[] = {
    {"rises to: triggers when the bid gets there from below",
     {{"a", alert("XAU", 2050.00, Rise)}},
     {{R"([{"S":"XAU","B":"2049.00"}])"},
      {R"([{"S":"XAU","B":"2049.99"}])"},
      {R"([{"S":"XAU","B":"2050.01"}])"}},
     {{}, {}, {"a"}}},
    {"falls to: triggers when the bid gets there from above",
     {{"a", alert("XAU", 2040.00, Fall)}},
     {{R"([{"S":"XAU","B":"2041.00"}])"}, {R"([{"S":"XAU","B":"2039.50"}])"}},
     {{}, {"a"}}},
    {"touching the price counts, both ways",
     {{"up", alert("XAU", 2050.35, Rise)}, {"down", alert("XAGRMB", 5630, Fall)}},
     {{R"([{"S":"XAU","B":"2050.34"},{"S":"XAGRMB","B":"5631"}])"},
      {R"([{"S":"XAU","B":"2050.35"},{"S":"XAGRMB","B":"5630"}])"}},
     {{}, {"up", "down"}}},
    {"a bid that jumps past the price in one reply triggers",
     {{"a", alert("XAU", 2050, Rise)}, {"b", alert("XAU", 2000, Fall)}},
     {{R"([{"S":"XAU","B":"2020.00"}])"},
      {R"([{"S":"XAU","B":"2080.00"}])"},
      {R"([{"S":"XAU","B":"1950.00"}])"}},
     {{}, {"a"}, {"b"}}},
    {"passed while the client was off: the first reply triggers",
     {{"a", alert("XAU", 2050, Rise)}},
     {{R"([{"S":"XAU","B":"2071.00"}])"}},
     {{"a"}}},
    {"a flat bid past the price triggers once",
     {{"once", alert("XAU", 2050, Rise)}, {"repeat", alert("XAU", 2050, Rise, true)}},
     {{R"([{"S":"XAU","B":"2050.50"}])"},
      {R"([{"S":"XAU","B":"2050.50"}])"},
      {R"([{"S":"XAU","B":"2050.00"}])"}},
     {{"once", "repeat"}, {}, {}}},
    {"a once-alert never triggers again",
     {{"a", alert("XAU", 2050, Rise)}},
     {{R"([{"S":"XAU","B":"2051"}])"},
      {R"([{"S":"XAU","B":"2040"}])"},
      {R"([{"S":"XAU","B":"2052"}])"}},
     {{"a"}, {}, {}}},
    {"a repeating alert arms again once the bid is back on its starting side",
     {{"a", alert("XAU", 2050, Rise, true)}},
     {{R"([{"S":"XAU","B":"2051.00"}])"},
      {R"([{"S":"XAU","B":"2050.00"}])"}, // at the price: not back yet
      {R"([{"S":"XAU","B":"2049.99"}])"}, // back below: armed
      {R"([{"S":"XAU","B":"2049.00"}])"},
      {R"([{"S":"XAU","B":"2050.20"}])"}},
     {{"a"}, {}, {}, {}, {"a"}}},
    {"a repeating falls-to alert arms again above its price",
     {{"a", alert("AIDRMB", 18900, Fall, true)}},
     {{R"([{"S":"AIDRMB","B":"18895"}])"},
      {R"([{"S":"AIDRMB","B":"18905"}])"},
      {R"([{"S":"AIDRMB","B":"18900"}])"}},
     {{"a"}, {}, {"a"}}},
    {"a symbol missing from a reply changes nothing",
     {{"a", alert("XAU", 2050, Rise)}},
     {{R"([{"S":"XAGRMB","B":"9999"}])"}, {R"([])"}, {R"([{"S":"XAU","B":"2050"}])"}},
     {{}, {}, {"a"}}},
    {"a symbol gone from the symbol table changes nothing",
     {{"a", alert("XAU", 2050, Rise)}},
     {{R"([{"S":"XAU","B":"2060"}])", false}, {R"([{"S":"XAU","B":"2060"}])"}},
     {{}, {"a"}}},
    {"a bid that is not a finite number triggers nothing",
     {{"a", alert("XAU", 2050, Rise)}, {"b", alert("XAU", 1000, Fall)}},
     {{R"([{"S":"XAU","B":""}])"},
      {R"([{"S":"XAU","B":"abc"}])"},
      {R"([{"S":"XAU","B":"nan"}])"},
      {R"([{"S":"XAU","B":"inf"}])"},
      {R"([{"S":"XAU","B":"-inf"}])"},
      {R"([{"S":"XAU"}])"}},
     {{}, {}, {}, {}, {}, {}}},
    {"several alerts on one symbol trigger each at its own price",
     {{"a", alert("XAU", 2050, Rise)},
      {"b", alert("XAU", 2060, Rise)},
      {"c", alert("XAU", 2040, Fall)},
      {"d", alert("XAU", 2055, Rise)}},
     {{R"([{"S":"XAU","B":"2045"}])"},
      {R"([{"S":"XAU","B":"2057"}])"},
      {R"([{"S":"XAU","B":"2065"}])"},
      {R"([{"S":"XAU","B":"2035"}])"}},
     {{}, {"a", "d"}, {"b"}, {"c"}}},
    {"a disabled alert triggers nothing",
     {{"a", disabled(alert("XAU", 2050, Rise))}},
     {{R"([{"S":"XAU","B":"2060"}])"}},
     {{}}},
    {"a code twice in one reply counts with its last bid, as the quote table keeps it",
     {{"a", alert("XAU", 2050, Rise)}},
     {{R"([{"S":"XAU","B":"2051"},{"S":"XAU","B":"2049"}])"},
      {R"([{"S":"XAU","B":"2049"},{"S":"XAU","B":"2051"}])"}},
     {{}, {"a"}}},
    {"the order of the rates does not matter: triggers come in the order of the alerts",
     {{"gold", alert("XAU", 2050, Rise)}, {"silver", alert("XAGRMB", 5000, Fall)}},
     {{R"([{"S":"XAGRMB","B":"4990"},{"S":"XAU","B":"2051"}])"}},
     {{"gold", "silver"}}},
};

TEST(AlertCrossing, EachReplyTriggersWhatTheRuleSays) {
    for (const Case& c : kCases) {
        PriceAlertBook book;
        std::vector<QString> names; // by id − 1
        for (const Named& n : c.alerts) {
            qint64 id = 0;
            ASSERT_EQ(book.add(n.alert, &id), PriceAlertBook::Outcome::Done) << c.what;
            names.resize(size_t(id));
            names[size_t(id - 1)] = QString::fromLatin1(n.name);
        }
        int steps = 0;
        QStringList fired;
        AlertQuoteWatcher watcher(
            book,
            [&](AlertCheck check) {
                ++steps;
                for (const AlertTrigger& t : check.triggers)
                    fired << names[size_t(t.alert.id - 1)];
            },
            [] { return qint64(1700000000000); });
        ASSERT_EQ(c.replies.size(), c.triggered.size()) << c.what;
        int changedReplies = 0;
        for (size_t r = 0; r < c.replies.size(); ++r) {
            QJsonObject symbols = symbolTable();
            if (!c.replies[r].xauListed)
                symbols.remove(QStringLiteral("XAU"));
            fired.clear();
            const quint64 before = book.revision();
            watcher.quotesUpdated(rates(c.replies[r].rates), symbols);
            EXPECT_EQ(fired, c.triggered[r]) << c.what << ", reply " << r;
            changedReplies += book.revision() != before;
        }
        // One step per reply that changed an alert, triggers and re-arms alike.
        EXPECT_EQ(steps, changedReplies) << c.what;
    }
}

TEST(AlertCrossing, TriggeredAlertsKeepTheirTimeAndTheBidThatDidIt) {
    PriceAlertBook book;
    book.add(alert("XAU", 2050, Rise, false, "止盈"));
    std::vector<AlertTrigger> got;
    AlertQuoteWatcher watcher(
        book, [&](AlertCheck c) { got = c.triggers; }, [] { return qint64(1700000000123); });
    watcher.quotesUpdated(rates(R"([{"S":"XAU","B":" 2050.10 "}])"), symbolTable());
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].alert.state, AlertState::Triggered);
    EXPECT_EQ(got[0].alert.triggeredAtMs, 1700000000123);
    EXPECT_EQ(got[0].alert.note, "止盈");
    EXPECT_EQ(got[0].bid.bidText, " 2050.10 ");
    EXPECT_EQ(got[0].bid.bid, 2050.10);
    EXPECT_EQ(got[0].bid.showname, "黄金美元");
    EXPECT_EQ(got[0].bid.decimals, 2);
    EXPECT_EQ(book.alerts()[0].state, AlertState::Triggered);
    EXPECT_FALSE(book.alerts()[0].active()); // a once-alert is done: no longer watched
    EXPECT_TRUE(watched(book).isEmpty());
}

// The quiet band of a symbol's alerts: a bid strictly inside it leaves every one of them alone,
// so the sync worker may pass it by. Each case: the alerts, then bids that must be inside and
// bids that must be outside.
TEST(AlertCrossing, AQuietBandHoldsOnlyBidsThatChangeNothing) {
    PriceAlert triggeredRise = alert("XAU", 2050, Rise, true);
    triggeredRise.state = AlertState::Triggered;
    PriceAlert triggeredFall = alert("XAU", 2000, Fall, true);
    triggeredFall.state = AlertState::Triggered;
    PriceAlert done = alert("XAU", 2010, Rise); // a triggered once-alert: no longer active
    done.state = AlertState::Triggered;
    PriceAlert off = alert("XAU", 2020, Fall);
    off.enabled = false;
    const struct {
        const char* what;
        std::vector<PriceAlert> alerts;
        std::vector<double> inside, outside;
    } cases[] = {
        {"rises to", {alert("XAU", 2050, Rise)}, {-1e9, 2049.99}, {2050, 2050.01, 1e9}},
        {"falls to", {alert("XAU", 2040, Fall)}, {2040.01, 1e9}, {2040, 2039}},
        {"between two", {alert("XAU", 2050, Rise), alert("XAU", 2040, Fall)}, {2045}, {2040, 2050}},
        {"triggered rises to, repeating", {triggeredRise}, {2050, 2060}, {2049.99}},
        {"triggered falls to, repeating", {triggeredFall}, {2000, 1990}, {2000.01}},
        {"both: every bid arms one again", {triggeredRise, triggeredFall}, {}, {1999, 2025, 2051}},
        {"not active", {done, off}, {2010, 2020, 0}, {}},
    };
    for (const auto& c : cases) {
        QuietBand band;
        for (const PriceAlert& a : c.alerts)
            band.narrowFor(a);
        for (const double bid : c.inside) {
            EXPECT_TRUE(band.holds(bid)) << c.what << " " << bid;
            for (const PriceAlert& a : c.alerts)
                EXPECT_EQ(crossingStep(a, bid), CrossingStep::None) << c.what << " " << bid;
        }
        for (const double bid : c.outside)
            EXPECT_FALSE(band.holds(bid)) << c.what << " " << bid;
    }
}

TEST(AlertCrossing, BidTextsAreDecimalNumbers) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"2050.35", 2050.35},
        {" 1.08532 ", 1.08532},
        {"147", 147},
        {"1e3", 1000},
        {"-0.5", -0.5},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1,000", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"1e999", std::nullopt},
        {"２０５０", std::nullopt}, // full-width digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(bidNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(AlertCrossing, DirectionComesFromTheBid) {
    EXPECT_EQ(directionFromBid(2050, 2049.99), AlertDirection::Rise);
    EXPECT_EQ(directionFromBid(2050, 2050.01), AlertDirection::Fall);
    EXPECT_EQ(directionFromBid(2050.35, QStringLiteral("2050.35").toDouble()), std::nullopt);
    EXPECT_EQ(directionFromBid(2050, NAN), std::nullopt);
    EXPECT_EQ(directionFromBid(2050, INFINITY), std::nullopt);
}

} // namespace
