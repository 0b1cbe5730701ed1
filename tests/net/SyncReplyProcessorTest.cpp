#include "net/SyncReplyProcessor.h"
#include "core/JsonParams.h"
#include "core/ProgramState.h"

#include "SyncConsistency.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

#include "ChangedViews.h"

#include <gtest/gtest.h>

using namespace kovan;
using Outcome = SyncReplyProcessor::Outcome;

namespace {

const QString kSymbols =
    QStringLiteral(R"({"XAU":{"showname":"黄金美元","minpip":0.01,"piplen":2,"basepip":1},)"
                   R"("XAGRMB":{"showname":"现货白银","minpip":1,"piplen":0,"basepip":1}})");

// Stand-in for the section views: records what checkRefresh would run in each loaded view.
struct FakePages {
    QStringList loadedViews{QStringLiteral("sgWeb"), QStringLiteral("ayWeb"),
                            QStringLiteral("plWeb"), QStringLiteral("dtWeb")};
    QStringList scripts; // "view:sessid" of every reloadCheck it would run
    int checkRefreshCalls = 0;
    int reloadAllCalls = 0;
    int tickerCalls = 0;

    void checkRefresh(ContentSectionSet changed, const QString& sessid) {
        ++checkRefreshCalls;
        for (const QString& view : test::changedSectionViews(changed))
            if (loadedViews.contains(view))
                scripts << view + u':' + sessid;
    }
};

class SyncReplyProcessorTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tables.assign(SyncTables::initial());
        m_session.setSessid(QStringLiteral("sess"));
        m_hooks.checkRefresh = [this](ContentSectionSet changed) {
            pages.checkRefresh(changed, m_session.sessid());
        };
        m_hooks.forceReloadAll = [this] { ++pages.reloadAllCalls; };
        m_hooks.ensureTicker = [this] { ++pages.tickerCalls; };
    }

    // A reply with status 1, the standard symbols and the session "sess", plus `extra`
    // members (a JSON fragment without braces).
    static QString reply(const QString& extra = {},
                         const QString& sessid = QStringLiteral("sess")) {
        QString s = QStringLiteral(R"({"status":1,"sessid":")") + sessid +
                    QStringLiteral(R"(","symbolinfo":)") + kSymbols;
        if (!extra.isEmpty())
            s += u',' + extra;
        return s + u'}';
    }
    Outcome feed(const QString& text, qint64 now = 1000000) {
        return m_processor.process(text, m_hooks, now);
    }
    SyncTables tables() const { return m_tables.snapshot(); }
    QString quote(const QString& key) const { return tables().quoteTable.value(key); }
    qint64 state(const char16_t* key) const {
        return jsonInt(tables().syncState, QStringView(key));
    }

    SessionState m_session;
    SharedSyncTables m_tables;
    NewsList m_news;
    SyncReplyProcessor m_processor{m_session, m_tables, m_news};
    SyncReplyProcessor::Hooks m_hooks;
    FakePages pages;
};

TEST_F(SyncReplyProcessorTest, FirstStampsSetEveryFlagAndRefreshEachLoadedViewOnce) {
    m_session.setSessid(QStringLiteral("it's"));
    pages.loadedViews = {QStringLiteral("sgWeb"), QStringLiteral("plWeb"), QStringLiteral("rtWeb")};
    ASSERT_EQ(feed(reply(QStringLiteral(R"("LUDsign":5,"LUDarts":6,"LUDplan":7,"LUDmkts":8)"),
                         QStringLiteral("it's"))),
              Outcome::Processed);
    EXPECT_EQ(state(u"LUDsign"), 5);
    EXPECT_EQ(state(u"LUDarts"), 6);
    EXPECT_EQ(state(u"LUDplan"), 7);
    EXPECT_EQ(state(u"LUDmkts"), 8);
    for (const char16_t* flag : {u"signCHG", u"artsCHG", u"planCHG", u"mktsCHG"})
        EXPECT_EQ(state(flag), 1) << QString::fromUtf16(flag).toStdString();
    EXPECT_EQ(pages.checkRefreshCalls, 1);
    EXPECT_EQ(pages.scripts,
              (QStringList{QStringLiteral("sgWeb:it's"), QStringLiteral("plWeb:it's")}));
    EXPECT_EQ(pages.reloadAllCalls, 0);
}

TEST_F(SyncReplyProcessorTest, SameStampsAgainClearTheFlagsAndRunNothing) {
    const QString r = reply(QStringLiteral(R"("LUDsign":5)"));
    feed(r);
    pages.scripts.clear();
    ASSERT_EQ(feed(r), Outcome::Processed);
    EXPECT_EQ(state(u"signCHG"), 0);
    EXPECT_EQ(state(u"LUDsign"), 5);
    EXPECT_EQ(pages.checkRefreshCalls, 1);
    EXPECT_TRUE(pages.scripts.isEmpty());
}

TEST_F(SyncReplyProcessorTest, OnlyTheMovedStampIsFlagged) {
    feed(reply(QStringLiteral(R"("LUDsign":5,"LUDarts":5)")));
    pages.scripts.clear();
    feed(reply(QStringLiteral(R"("LUDsign":5,"LUDarts":9)")));
    EXPECT_EQ(state(u"signCHG"), 0);
    EXPECT_EQ(state(u"artsCHG"), 1);
    EXPECT_EQ(pages.scripts, QStringList{QStringLiteral("ayWeb:sess")});
}

TEST_F(SyncReplyProcessorTest, LowerOrMissingStampIsIgnored) {
    feed(reply(QStringLiteral(R"("LUDarts":100,"LUDplan":4)")));
    ASSERT_EQ(feed(reply(QStringLiteral(R"("LUDarts":99)"))), Outcome::Processed);
    EXPECT_EQ(state(u"LUDarts"), 100);
    EXPECT_EQ(state(u"artsCHG"), 0);
    EXPECT_EQ(state(u"LUDplan"), 4); // missing counts as 0, which is lower
    EXPECT_EQ(state(u"planCHG"), 0);
    EXPECT_EQ(pages.checkRefreshCalls, 1);
}

TEST_F(SyncReplyProcessorTest, StampsCompareAsSigned64Bit) {
    feed(reply(QStringLiteral(R"("LUDsign":"9000000000000000000")")));
    EXPECT_EQ(state(u"LUDsign"), 9000000000000000000LL);
    feed(reply(QStringLiteral(R"("LUDsign":-5)")));
    EXPECT_EQ(state(u"LUDsign"), 9000000000000000000LL);
    EXPECT_EQ(state(u"signCHG"), 0);
}

struct BidCase {
    const char* name;
    QStringList bids; // successive bids of XAU
    QString expectedCg;
    QString expectedBid;
};

class BidDirectionTest : public SyncReplyProcessorTest,
                         public ::testing::WithParamInterface<BidCase> {};

TEST_P(BidDirectionTest, DirectionFollowsTheTextualComparison) {
    const BidCase& c = GetParam();
    for (const QString& bid : c.bids)
        ASSERT_EQ(feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU","B":")") + bid +
                             QStringLiteral(R"("}])"))),
                  Outcome::Processed);
    EXPECT_EQ(quote(QStringLiteral("XAU_CG")), c.expectedCg) << c.name;
    EXPECT_EQ(quote(QStringLiteral("XAU_BID")), c.expectedBid) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Bids, BidDirectionTest,
    ::testing::Values(
        BidCase{"first_bid_is_up", {"1200.5"}, "1", "1200.5"},
        BidCase{"then_down", {"1200.5", "1199.9"}, "-1", "1199.9"},
        BidCase{"textual_not_numeric", {"99.99", "100.01"}, "-1", "100.01"},
        BidCase{"textual_other_way", {"100.01", "99.99"}, "1", "99.99"},
        BidCase{"same_text_changes_nothing", {"1200.5", "1199.9", "1199.9"}, "-1", "1199.9"},
        BidCase{"up_again", {"1199.9", "1200.5"}, "1", "1200.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SyncReplyProcessorTest, SymbolTableIsBuiltInAscendingOrder) {
    ASSERT_EQ(feed(reply()), Outcome::Processed);
    const SyncTables t = tables();
    EXPECT_EQ(t.symbolCodes, (QStringList{QStringLiteral("XAGRMB"), QStringLiteral("XAU")}));
    EXPECT_EQ(
        t.quoteTable.lines(),
        (QStringList{QStringLiteral("XAGRMB_showname=现货白银"), QStringLiteral("XAGRMB_CG=0"),
                     QStringLiteral("XAU_showname=黄金美元"), QStringLiteral("XAU_CG=0")}));
    EXPECT_EQ(compactJson(t.symbolInfo), compactJson(parseJsonObject(kSymbols)));
}

TEST_F(SyncReplyProcessorTest, MemberOrderOfSymbolinfoIsNoChange) {
    feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU","B":"1200.5"}])")));
    const QString reordered = QStringLiteral(
        R"({"status":1,"sessid":"sess","symbolinfo":{"XAGRMB":{"basepip":1,"piplen":0,)"
        R"("minpip":1,"showname":"现货白银"},"XAU":{"piplen":2,"showname":"黄金美元","basepip":1,)"
        R"("minpip":0.01}}})");
    ASSERT_EQ(feed(reordered), Outcome::Processed);
    EXPECT_EQ(quote(QStringLiteral("XAU_BID")), QStringLiteral("1200.5"));
    EXPECT_EQ(quote(QStringLiteral("XAU_CG")), QStringLiteral("1"));
}

TEST_F(SyncReplyProcessorTest, ChangedSymbolinfoRebuildsTheTables) {
    feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU","B":"1200.5"}])")));
    const QString other = QStringLiteral(
        R"({"status":1,"sessid":"sess","symbolinfo":{"EURUSD":{"showname":"欧元美元"},)"
        R"("AUDUSD":{"showname":"澳元美元"}}})");
    ASSERT_EQ(feed(other), Outcome::Processed);
    const SyncTables t = tables();
    EXPECT_EQ(t.symbolCodes, (QStringList{QStringLiteral("AUDUSD"), QStringLiteral("EURUSD")}));
    EXPECT_FALSE(t.quoteTable.contains(u"XAU_BID"));
    EXPECT_EQ(t.quoteTable.value(u"EURUSD_showname"), QStringLiteral("欧元美元"));
    EXPECT_EQ(t.quoteTable.value(u"AUDUSD_CG"), QStringLiteral("0"));
}

TEST_F(SyncReplyProcessorTest, EmptyBidDeletesTheBidLine) {
    feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU","B":"1200.5"}])")));
    feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU"}])")));
    EXPECT_FALSE(tables().quoteTable.contains(u"XAU_BID"));
    EXPECT_EQ(quote(QStringLiteral("XAU_CG")), QStringLiteral("-1"));
}

TEST_F(SyncReplyProcessorTest, EveryRateElementIsReadWhateverRatecountSays) {
    feed(reply(QStringLiteral(
        R"("ratecount":1,"rate":[{"S":"XAU","B":"1200.5"},{"S":"XAGRMB","B":"5600"}])")));
    EXPECT_EQ(quote(QStringLiteral("XAGRMB_BID")), QStringLiteral("5600"));
    feed(reply(QStringLiteral(R"("ratecount":0,"rate":[{"S":"XAU","B":"1.0"}])")));
    EXPECT_EQ(quote(QStringLiteral("XAU_BID")), QStringLiteral("1200.5"));
}

// The quote watcher's hook (the price alerts) runs once per reply with rates, after the quote
// table took them and with the tables' lock released: it reads the tables itself here, which
// would not return were the lock still held.
TEST_F(SyncReplyProcessorTest, QuotesAppliedRunsAfterTheQuoteTableWithoutItsLock) {
    QStringList seen;
    m_hooks.quotesApplied = [&](const std::vector<RateQuote>& rates, const QJsonObject& symbols) {
        QStringList sent;
        for (const RateQuote& r : rates)
            sent << r.code + u'=' + r.bid;
        seen << sent.join(u',') + u'|' + quote(QStringLiteral("XAU_BID")) + u'|' +
                    symbols.keys().join(u',');
    };
    feed(reply(QStringLiteral(
        R"("ratecount":2,"rate":[{"S":"XAU","B":"1200.5"},{"S":"XAGRMB","B":"5600"}])")));
    feed(reply(QStringLiteral(R"("ratecount":0)")));
    feed(reply());
    feed(reply(QStringLiteral(R"("ratecount":1,"rate":[{"S":"XAU","B":"1201"},{"B":"7"}])")));
    EXPECT_EQ(seen, (QStringList{"XAU=1200.5,XAGRMB=5600|1200.5|XAGRMB,XAU",
                                 "XAU=1201,=7|1201|XAGRMB,XAU"}));
}

TEST_F(SyncReplyProcessorTest, RdntItemIsAddedOnceAndNewOnesStillCome) {
    const QString one =
        QStringLiteral(R"("rdntcount":1,"rdnt":[{"id":7,"title":"非农数据公布","impant":3}])");
    feed(reply(one), 5000);
    feed(reply(one), 6000);
    feed(
        reply(QStringLiteral(
            R"("rdntcount":2,"rdnt":[{"id":7,"title":"x","impant":1},{"id":8,"title":"央行利率决议","impant":2}])")),
        7000);
    const auto list = m_news.snapshot();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0], (topInfoRuntimeRecord{7, QStringLiteral("rdnt"), 3,
                                             QStringLiteral("非农数据公布"), 5000 + 3600}));
    EXPECT_EQ(list[1], (topInfoRuntimeRecord{8, QStringLiteral("rdnt"), 2,
                                             QStringLiteral("央行利率决议"), 7000 + 3600}));
}

TEST_F(SyncReplyProcessorTest, RdntIdTwiceInOneReplyIsAddedOnce) {
    feed(reply(QStringLiteral(
        R"("rdntcount":3,"rdnt":[{"id":4,"title":"a"},{"id":5,"title":"b"},{"id":4,"title":"c"}])")));
    const auto list = m_news.snapshot();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].title, QStringLiteral("a"));
    EXPECT_EQ(list[1].title, QStringLiteral("b"));
}

TEST_F(SyncReplyProcessorTest, RdntDuplicateOnlyAgainstRdntEntries) {
    m_news.with([](auto& l) {
        l.append({7, QStringLiteral("newtips"), 1, QStringLiteral("t"), 0});
    });
    feed(reply(QStringLiteral(R"("rdntcount":1,"rdnt":[{"id":7,"title":"a","impant":1}])")));
    EXPECT_EQ(m_news.snapshot().size(), 2);
}

TEST_F(SyncReplyProcessorTest, SessionChangeReloadsAllPages) {
    ASSERT_EQ(feed(reply({}, QStringLiteral("other"))), Outcome::Processed);
    EXPECT_EQ(pages.reloadAllCalls, 1);
    EXPECT_EQ(m_session.sessid(), QStringLiteral("other"));
    feed(reply({}, QStringLiteral("other")));
    EXPECT_EQ(pages.reloadAllCalls, 1);
}

TEST_F(SyncReplyProcessorTest, AnUnusableSessionIdIsIgnoredAndTheRestProcessed) {
    const QString before = m_session.sessid();
    for (const QString& id :
         {QStringLiteral("a b\\nc"), QString(1025, u's'), QStringLiteral("..")}) {
        const QString text = reply(QStringLiteral(R"("LUDsign":%1)").arg(7 + id.size()), id);
        ASSERT_EQ(feed(text), Outcome::Processed) << id.left(20).toStdString();
        EXPECT_EQ(m_session.sessid(), before);
        EXPECT_EQ(pages.reloadAllCalls, 0);
    }
    EXPECT_EQ(jsonInt(tables().syncState, u"LUDsign"), 7 + 1025); // the highest stamp seen
}

TEST_F(SyncReplyProcessorTest, MissingSessidEmptiesTheSession) {
    ASSERT_EQ(feed(QStringLiteral(R"({"status":1,"symbolinfo":{}})")), Outcome::Processed);
    EXPECT_EQ(m_session.sessid(), QString());
    EXPECT_EQ(pages.reloadAllCalls, 1);
}

// The session id a request carried, the current one when its reply is processed (a login or
// logout may have changed it meanwhile) and the one the reply names.
struct StaleSessionCase {
    const char* sent;
    const char* current;
    const char* replied;
    const char* after;
    int reloads;
};

void PrintTo(const StaleSessionCase& c, std::ostream* os) {
    *os << "sent " << c.sent << ", current " << c.current << ", replied '" << c.replied << "'";
}

class SyncStaleSessionTest : public SyncReplyProcessorTest,
                             public ::testing::WithParamInterface<StaleSessionCase> {};

TEST_P(SyncStaleSessionTest, ReplyToAnOldSessionLeavesTheNewOneAlone) {
    const StaleSessionCase& c = GetParam();
    m_session.setSessid(QString::fromUtf8(c.current));
    m_processor.setRequestSessid(QString::fromUtf8(c.sent));
    ASSERT_EQ(feed(reply(QStringLiteral(R"("LUDsign":7)"), QString::fromUtf8(c.replied))),
              Outcome::Processed);
    EXPECT_EQ(m_session.sessid(), QString::fromUtf8(c.after));
    EXPECT_EQ(pages.reloadAllCalls, c.reloads);
    // The rest of the reply still counts.
    EXPECT_EQ(state(u"LUDsign"), 7);
    EXPECT_EQ(tables().symbolCodes, (QStringList{"XAGRMB", "XAU"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SyncStaleSessionTest,
    ::testing::Values(
        // Sent with the session still current: the server's word is taken.
        StaleSessionCase{"guest", "guest", "other", "other", 1},
        StaleSessionCase{"guest", "guest", "guest", "guest", 0},
        StaleSessionCase{"member", "member", "", "", 1},
        // A login replaced the session while the request was out: the reply names the old
        // session, or another, and is not allowed to replace the new one.
        StaleSessionCase{"guest", "member", "guest", "member", 0},
        StaleSessionCase{"guest", "member", "third", "member", 0},
        StaleSessionCase{"guest", "member", "", "member", 0},
        // The reply already names the new session: nothing to change either.
        StaleSessionCase{"guest", "member", "member", "member", 0}));

TEST_F(SyncReplyProcessorTest, RatecountWithoutRateEndsAfterTheEarlierSteps) {
    const Outcome o =
        feed(reply(QStringLiteral(R"("LUDsign":3,"ratecount":2)"), QStringLiteral("s2")));
    EXPECT_EQ(o, Outcome::Unusable);
    EXPECT_EQ(tables().symbolCodes.size(), 2);
    EXPECT_EQ(m_session.sessid(), QStringLiteral("s2"));
    EXPECT_EQ(pages.reloadAllCalls, 1);
    EXPECT_EQ(state(u"LUDsign"), 3);
    EXPECT_EQ(pages.checkRefreshCalls, 1);
    EXPECT_EQ(pages.tickerCalls, 0);
}

TEST_F(SyncReplyProcessorTest, RdntcountWithoutRdntEndsAfterRatesAndTicker) {
    const Outcome o = feed(reply(QStringLiteral(
        R"("ratecount":1,"rate":[{"S":"XAU","B":"2"}],"rdntcount":1,"rdnt":{"id":1})")));
    EXPECT_EQ(o, Outcome::Unusable);
    EXPECT_EQ(quote(QStringLiteral("XAU_BID")), QStringLiteral("2"));
    EXPECT_EQ(pages.tickerCalls, 1);
    EXPECT_TRUE(m_news.snapshot().isEmpty());
}

struct RejectCase {
    const char* name;
    QString text;
    Outcome outcome;
};

class SyncRejectTest : public SyncReplyProcessorTest,
                       public ::testing::WithParamInterface<RejectCase> {};

TEST_P(SyncRejectTest, UnusableOrIgnoredRepliesChangeNothing) {
    const RejectCase& c = GetParam();
    feed(reply(QStringLiteral(R"("LUDsign":1,"ratecount":1,"rate":[{"S":"XAU","B":"5"}])")));
    const SyncTables before = tables();
    const QString sessidBefore = m_session.sessid();
    const int refreshes = pages.checkRefreshCalls;
    const int tickers = pages.tickerCalls;
    EXPECT_EQ(feed(c.text), c.outcome) << c.name;
    const SyncTables after = tables();
    EXPECT_EQ(after.quoteTable, before.quoteTable);
    EXPECT_EQ(after.symbolInfo, before.symbolInfo);
    EXPECT_EQ(after.syncState, before.syncState);
    EXPECT_EQ(m_session.sessid(), sessidBefore);
    EXPECT_EQ(pages.checkRefreshCalls, refreshes);
    EXPECT_EQ(pages.tickerCalls, tickers);
}

INSTANTIATE_TEST_SUITE_P(
    Rejects, SyncRejectTest,
    ::testing::Values(
        RejectCase{"empty", QString(), Outcome::Empty},
        RejectCase{"not_json", QStringLiteral("<html>busy</html>"), Outcome::Unusable},
        RejectCase{"array", QStringLiteral("[1,2]"), Outcome::Unusable},
        RejectCase{"no_symbolinfo", QStringLiteral(R"({"status":1,"LUDsign":9})"),
                   Outcome::Unusable},
        RejectCase{"symbolinfo_not_object", QStringLiteral(R"({"status":1,"symbolinfo":[]})"),
                   Outcome::Unusable},
        RejectCase{"status_zero",
                   QStringLiteral(R"({"status":0,"sessid":"x","LUDsign":9,"symbolinfo":{}})"),
                   Outcome::StatusNotOne},
        RejectCase{"status_missing", QStringLiteral(R"({"symbolinfo":{}})"),
                   Outcome::StatusNotOne}),
    [](const auto& info) { return std::string(info.param.name); });

// Codes that collide as quote table names: letter case, the Kelvin sign (folds to "k"), "=" in
// a code (the line is named by the part before it), the empty code.
const QStringList kCollidingCodes{QStringLiteral("XAU"),    QStringLiteral("xau"),
                                  QStringLiteral("EURUSD"), QStringLiteral("a=b"),
                                  QStringLiteral("a"),      QString(),
                                  QStringLiteral("NIDRMB"), QStringLiteral("\u212A"),
                                  QStringLiteral("k"),      QStringLiteral("K")};

// The hashed bid update against the plain quote table rules, on random rates.
TEST(SyncRatesTest, FastBidUpdateMatchesTheQuoteTableRules) {
    QRandomGenerator rng(12345);
    const QStringList bids{QString(),
                           QStringLiteral("1"),
                           QStringLiteral("1.0"),
                           QStringLiteral("99.99"),
                           QStringLiteral("100.01"),
                           QStringLiteral("a")};
    for (int round = 0; round < 300; ++round) {
        NameValueList fast;
        fast.setLines(QStringList{QStringLiteral("XAU_showname=x"), QStringLiteral("junk line")});
        NameValueList reference = fast;
        for (int step = 0; step < 4; ++step) {
            QJsonArray rates;
            const int n = rng.bounded(6);
            for (int i = 0; i < n; ++i)
                rates.append(QJsonObject{
                    {QStringLiteral("S"), kCollidingCodes[rng.bounded(kCollidingCodes.size())]},
                    {QStringLiteral("B"), bids[rng.bounded(bids.size())]}});
            SyncReplyProcessor::applyRates(fast, rates);
            test::referenceRates(reference, rates);
            ASSERT_EQ(fast.lines(), reference.lines()) << "round " << round << " step " << step;
        }
    }
}

// The hashed symbol table rebuild against the plain quote table rules, on random symbols.
TEST(SyncRatesTest, SymbolRebuildMatchesTheQuoteTableRules) {
    QRandomGenerator rng(777);
    const QStringList names{QString(), QStringLiteral("黄金"), QStringLiteral("x=y")};
    for (int round = 0; round < 300; ++round) {
        QJsonObject info;
        const int n = rng.bounded(8);
        for (int i = 0; i < n; ++i)
            info.insert(
                kCollidingCodes[rng.bounded(kCollidingCodes.size())],
                QJsonObject{{QStringLiteral("showname"), names[rng.bounded(names.size())]}});
        SyncTables t;
        t.symbolInfo = QJsonObject{{QStringLiteral("old"), QJsonObject{}}};
        t.quoteTable.setLines({QStringLiteral("old_BID=1")});
        ASSERT_TRUE(SyncReplyProcessor::applySymbols(t, info));
        EXPECT_EQ(t.symbolCodes, info.keys());
        ASSERT_EQ(t.quoteTable.lines(), test::referenceSymbols(info).lines()) << "round " << round;
    }
}

} // namespace
