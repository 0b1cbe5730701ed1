// The book of alerts: at most 500, an edit arms again, enabling keeps the state, what the
// sync worker watches; the file's load cut at the limit.

#include "AlertTestSupport.h"

#include "alerts/PriceAlertBook.h"

#include <gtest/gtest.h>

using namespace kovan;
using namespace kovan::alerttest;

namespace {

using Outcome = PriceAlertBook::Outcome;

TEST(PriceAlertBook, The501stAlertIsRefused) {
    PriceAlertBook book;
    for (int i = 0; i < PriceAlertBook::kMaxAlerts; ++i)
        ASSERT_EQ(book.add(alert("XAU", 1000 + i, Rise)), Outcome::Done) << i;
    qint64 id = -1;
    EXPECT_EQ(book.add(alert("XAU", 5000, Rise), &id), Outcome::TooMany);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(book.size(), 500);
    // One removed makes room again.
    ASSERT_EQ(book.remove(book.alerts().front().id), Outcome::Done);
    EXPECT_EQ(book.add(alert("XAU", 5000, Rise)), Outcome::Done);
    EXPECT_EQ(book.size(), 500);
}

TEST(PriceAlertBook, RefusesAlertsWithoutSymbolOrPositivePrice) {
    PriceAlertBook book;
    EXPECT_EQ(book.add(alert("", 10, Rise)), Outcome::Invalid);
    EXPECT_EQ(book.add(alert("XAU", 0, Rise)), Outcome::Invalid);
    EXPECT_EQ(book.add(alert("XAU", -5, Rise)), Outcome::Invalid);
    EXPECT_EQ(book.add(alert("XAU", NAN, Rise)), Outcome::Invalid);
    EXPECT_EQ(book.size(), 0);
    EXPECT_EQ(book.revision(), 0u);
}

TEST(PriceAlertBook, AnEditArmsATriggeredAlertAgain) {
    PriceAlertBook book;
    qint64 id = 0;
    book.add(alert("XAU", 2050, Rise), &id);
    book.check({{"XAU", "2051", 2051, "黄金美元", 2}}, 42);
    PriceAlert a = *book.find(id);
    ASSERT_EQ(a.state, AlertState::Triggered);
    EXPECT_EQ(a.triggeredAtMs, 42);
    EXPECT_TRUE(watched(book).isEmpty());

    a.price = 2060;
    a.note = QString(300, u'注');
    ASSERT_EQ(book.update(a), Outcome::Done);
    const PriceAlert edited = *book.find(id);
    EXPECT_EQ(edited.state, AlertState::Waiting);
    EXPECT_EQ(edited.triggeredAtMs, 0);
    EXPECT_EQ(edited.price, 2060);
    EXPECT_EQ(edited.note.size(), PriceAlert::kMaxNoteLength);
    EXPECT_EQ(watched(book), QSet<QString>{"XAU"});

    a.id = 999;
    EXPECT_EQ(book.update(a), Outcome::NotFound);
    EXPECT_EQ(book.remove(999), Outcome::NotFound);
    EXPECT_EQ(book.setEnabled(999, false), Outcome::NotFound);
}

TEST(PriceAlertBook, EnablingKeepsTheStateAndOnlyActiveAlertsAreWatched) {
    PriceAlertBook book;
    qint64 gold = 0, silver = 0, copper = 0;
    book.add(alert("XAU", 2050, Rise), &gold);
    book.add(alert("XAGRMB", 5000, Fall, true), &silver);
    book.add(alert("AIDRMB", 18000, Fall), &copper);
    EXPECT_EQ(watched(book), (QSet<QString>{"XAU", "XAGRMB", "AIDRMB"}));

    const quint64 before = book.revision();
    ASSERT_EQ(book.setEnabled(copper, false), Outcome::Done);
    EXPECT_GT(book.revision(), before);
    EXPECT_EQ(watched(book), (QSet<QString>{"XAU", "XAGRMB"}));
    const quint64 same = book.revision();
    book.setEnabled(copper, false); // no change
    EXPECT_EQ(book.revision(), same);

    // A triggered once-alert leaves the watch; a triggered repeating one stays.
    book.check({{"XAU", "2051", 2051, "", 2}, {"XAGRMB", "4990", 4990, "", 0}}, 1);
    EXPECT_EQ(watched(book), QSet<QString>{"XAGRMB"});
    book.setEnabled(gold, false);
    book.setEnabled(gold, true);
    EXPECT_EQ(book.find(gold)->state, AlertState::Triggered);
    EXPECT_FALSE(book.find(gold)->active());
}

TEST(PriceAlertBook, ReplaceAllGivesNewIdsAndStopsAtTheLimit) {
    PriceAlertBook book;
    book.add(alert("XAU", 1, Rise));
    std::vector<PriceAlert> loaded;
    for (int i = 0; i < 503; ++i)
        loaded.push_back(alert("XAU", 100 + i, Fall));
    loaded.push_back(alert("", 3, Fall)); // unusable: dropped before counting
    EXPECT_EQ(book.replaceAll(loaded), 3);
    const std::vector<PriceAlert> held = book.alerts();
    ASSERT_EQ(held.size(), 500u);
    EXPECT_EQ(held.front().price, 100);
    EXPECT_EQ(held.back().price, 599);
    QSet<qint64> ids;
    for (const PriceAlert& a : held)
        ids.insert(a.id);
    EXPECT_EQ(ids.size(), 500);
    EXPECT_FALSE(ids.contains(1)); // ids are not reused within a run
}

} // namespace
