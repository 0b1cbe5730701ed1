// The feed's pure rules: reply parsing, the merge rules, the request addresses and the codes
// a chart accepts.

#include "chart/ChartReply.h"
#include "chart/ChartCodes.h"
#include "core/Errors.h"
#include "net/ReplyDecoder.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kovan;

namespace {

ChartDataListRecord bar(qint32 dl, float o, float c, float l, float h) {
    return {dl, o, c, l, h};
}

const ChartDataList kTwoBars = {bar(1000, 10, 11, 9, 12), bar(2000, 11, 12, 10.5f, 13)};

struct MergeCase {
    const char* name;
    ChartDataList before;
    std::vector<ChartReplyBar> reply;
    ChartDataList after;
    bool added;
    bool changed;
};

} // namespace

TEST(ChartMerge, RulesTable) {
    const MergeCase cases[] = {
        {"empty series takes every bar",
         {},
         {{1000, 10, 12, 9, 11}, {2000, 11, 13, 10.5, 12}},
         kTwoBars,
         true,
         true},
        {"newer bar is appended, whatever the gap",
         kTwoBars,
         {{900000, 12, 14, 11, 13}},
         {kTwoBars[0], kTwoBars[1], bar(900000, 12, 13, 11, 14)},
         true,
         true},
        {"older bars are ignored",
         kTwoBars,
         {{1000, 1, 1, 1, 1}, {1500, 2, 2, 2, 2}},
         kTwoBars,
         false,
         false},
        {"same time, new close: the last bar is rewritten",
         kTwoBars,
         {{2000, 11.5, 13, 10.5, 12.5}},
         {kTwoBars[0], bar(2000, 11.5f, 12.5f, 10.5f, 13)},
         false,
         true},
        {"same time, new low only",
         kTwoBars,
         {{2000, 11, 13, 10, 12}},
         {kTwoBars[0], bar(2000, 11, 12, 10, 13)},
         false,
         true},
        {"same time, new high only",
         kTwoBars,
         {{2000, 11, 14, 10.5, 12}},
         {kTwoBars[0], bar(2000, 11, 12, 10.5f, 14)},
         false,
         true},
        {"same time, same close/low/high: unchanged even with another open",
         kTwoBars,
         {{2000, 99, 13, 10.5, 12}},
         kTwoBars,
         false,
         false},
        {"a price without an exact 32-bit form always counts as different",
         {bar(2000, 1.1f, 1.1f, 1.1f, 1.1f)},
         {{2000, 1.1, 1.1, 1.1, 1.1}},
         {bar(2000, 1.1f, 1.1f, 1.1f, 1.1f)},
         false,
         true},
        {"rewrite then append in one reply",
         kTwoBars,
         {{2000, 11, 13.5, 10.5, 12.25}, {3000, 12.25, 14, 12, 13}},
         {kTwoBars[0], bar(2000, 11, 12.25f, 10.5f, 13.5f), bar(3000, 12.25f, 13, 12, 14)},
         true,
         true},
        {"a time beyond 32 bits is ignored",
         kTwoBars,
         {{qint64(std::numeric_limits<qint32>::max()) + 1, 1, 1, 1, 1}},
         kTwoBars,
         false,
         false},
    };
    for (const MergeCase& c : cases) {
        ChartDataList series = c.before;
        const ChartMergeResult r = mergeChartBars(series, c.reply);
        EXPECT_EQ(series, c.after) << c.name;
        EXPECT_EQ(r.added, c.added) << c.name;
        EXPECT_EQ(r.changed, c.changed) << c.name;
    }
}

TEST(ChartMerge, RepliesParseAndOnlyUsableOnesMerge) {
    const ChartReply ok = parseChartReply(
        R"({"status":1,"count":2,"BID":5632.5,"data":[{"D":1000,"O":1,"H":4,"L":0.5,"C":2},)"
        R"({"D":"2000","O":"2","H":5,"L":1,"C":3}]})");
    EXPECT_TRUE(ok.mergeable());
    ASSERT_EQ(ok.data.size(), 2u);
    EXPECT_EQ(ok.data[1].D, 2000); // digit strings convert
    EXPECT_EQ(ok.data[1].O, 2.0);
    EXPECT_EQ(ok.data[0].H, 4.0);
    EXPECT_EQ(ok.BID, 5632.5);

    struct Case {
        const char* text;
        bool mergeable;
    };
    const Case cases[] = {
        {"not json", false},
        {"[1,2]", false},
        {R"({"status":0,"count":2,"data":[]})", false},
        {R"({"status":1,"count":0,"data":[],"BID":5})", false},
        {R"({"status":1,"count":-1,"data":[]})", false},
        {R"({"status":"1","count":"1","data":[{"D":1}]})", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseChartReply(QString::fromUtf8(c.text)).mergeable(), c.mergeable) << c.text;
}

TEST(ChartRequest, UrlShapes) {
    const QString root = QStringLiteral("http://127.0.0.1:8801");
    EXPECT_EQ(chartRequestUrl(root, "XAGRMB", "H1", std::nullopt),
              "http://127.0.0.1:8801/chart/XAGRMB/H1/0/1024");
    EXPECT_EQ(chartRequestUrl(root, "XAGRMB", "H1", 1700002800),
              "http://127.0.0.1:8801/chart/XAGRMB/H1/1700002800/0");
    // Codes are path segments: nothing in them changes the address's shape.
    EXPECT_EQ(chartRequestUrl(root, "A/B?c#d", "H 1%", std::nullopt),
              "http://127.0.0.1:8801/chart/A%2FB%3Fc%23d/H%201%25/0/1024");
    EXPECT_EQ(lastBarTime({}), std::nullopt);
    EXPECT_EQ(lastBarTime(kTwoBars), 2000);
}

TEST(ChartCodes, FifteenCharactersAtMostAndNothingThatBendsAPath) {
    struct Case {
        QString code;
        bool usable;
    };
    const Case cases[] = {
        {"XAGRMB", true},
        {"H1", true},
        {"ABCDEFGHIJKLMNO", true},   // 15
        {"ABCDEFGHIJKLMNOP", false}, // 16
        {"", false},
        {".", false},
        {"..", false},
        {"a/b", false},
        {"a\\b", false},
        {QStringLiteral("H1\n"), false},
        {" H1", false},
        {"H1 ", false},
        {"M 5", true},
        {QStringLiteral("白银"), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chartCodeProblem(c.code).isEmpty(), c.usable) << c.code.toStdString();
        if (c.usable)
            EXPECT_NO_THROW(requireChartCode("t", c.code));
        else
            EXPECT_THROW(requireChartCode("t", c.code), ConversionError);
    }
    try {
        requireChartCode("setPeriod", QStringLiteral("ABCDEFGHIJKLMNOP"));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("longer than 15"), std::string::npos) << e.what();
    }
}

// A plain-ASCII body parses the same from its bytes as from its decoded text; anything else is
// left to the text.
TEST(ChartReplyBytes, AsciiBodiesReadAlikeFromBytesAndText) {
    struct Case {
        QByteArray body;
        QByteArray contentType;
        bool ascii;
    };
    const Case cases[] = {
        {R"({"status":1,"count":1,"BID":5.5,"data":[{"D":9,"O":1,"H":4,"L":0.5,"C":2}]})",
         "application/json; charset=utf-8", true},
        {R"({"status":1,"count":1,"BID":"7","data":[{"D":"9","O":1,"H":4,"L":0.5,"C":2}]})",
         "application/json", true},
        {R"({"status":1,"count":1,"data":[]})", "text/plain; charset=GBK", true},
        {R"({"status":0})", "", true},
        {"not json", "application/json", true},
        {"", "application/json", true},
        {"{\"status\":1,\"n\":\"\xE4\xB8\xAD\"}", "application/json; charset=utf-8", false},
        {"{\"status\":1}", "application/json; charset=UTF-16LE", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(asciiBody(c.body, c.contentType), c.ascii) << c.body.constData();
        if (!c.ascii)
            continue;
        const ChartReply fromText = parseChartReply(decodeReplyBody(c.body, c.contentType));
        const ChartReply fromBytes = parseChartReplyJson(c.body);
        EXPECT_EQ(fromBytes.parsed, fromText.parsed) << c.body.constData();
        EXPECT_EQ(fromBytes.status, fromText.status);
        EXPECT_EQ(fromBytes.count, fromText.count);
        EXPECT_EQ(fromBytes.BID, fromText.BID);
        ASSERT_EQ(fromBytes.data.size(), fromText.data.size());
        for (size_t i = 0; i < fromBytes.data.size(); ++i) {
            EXPECT_EQ(fromBytes.data[i].D, fromText.data[i].D);
            EXPECT_EQ(fromBytes.data[i].C, fromText.data[i].C);
            EXPECT_EQ(fromBytes.data[i].L, fromText.data[i].L);
        }
    }
}
