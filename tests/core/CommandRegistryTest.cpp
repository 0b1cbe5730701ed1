// The page command registry: look-up by name without regard to ASCII case, the answers of
// empty, unknown and failing commands, replacing, removing and reply kinds.
#include "core/CommandRegistry.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kovan;

namespace {

struct Recorder {
    QStringList calls;
    CommandRegistry::Command command(const QString& tag, const QString& answer = "1") {
        return [this, tag, answer](const QString& p) {
            calls.append(tag + u'|' + p);
            return answer;
        };
    }
};

} // namespace

TEST(CommandRegistry, NameLookupIgnoresAsciiCaseOnly) {
    Recorder rec;
    CommandRegistry r;
    r.add("playVideo", rec.command("pv", "played"));
    struct Case {
        const char* name;
        const char* expected;
        int calls;
    } cases[] = {
        {"playVideo", "played", 1}, {"PlAyViDeO", "played", 2}, {"PLAYVIDEO", "played", 3},
        {"playvideo", "played", 4}, {"playVide", "1", 4},       {"playVideo ", "1", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.IWebCallBack(QString::fromUtf8(c.name), "x"), QString::fromUtf8(c.expected))
            << c.name;
        EXPECT_EQ(rec.calls.size(), c.calls) << c.name;
    }
}

TEST(CommandRegistry, NonAsciiLettersAreNotFolded) {
    Recorder rec;
    CommandRegistry r;
    r.add(QStringLiteral("straße"), rec.command("s", "hit"));
    r.add(QStringLiteral("ÄPFEL"), rec.command("a", "hit"));
    EXPECT_EQ(r.IWebCallBack(QStringLiteral("STRAßE"), ""), "hit");
    EXPECT_EQ(r.IWebCallBack(QStringLiteral("äpfel"), ""), "1"); // Ä is not an ASCII letter
    EXPECT_EQ(rec.calls.size(), 1);
}

TEST(CommandRegistry, EmptyAndUnknownNamesAnswerOneAndCallNothing) {
    Recorder rec;
    CommandRegistry r;
    r.add("known", rec.command("k", "K"));
    EXPECT_EQ(r.IWebCallBack("", "x"), "1");
    EXPECT_EQ(r.IWebCallBack("unknown", "x"), "1");
    EXPECT_TRUE(rec.calls.isEmpty());
    EXPECT_FALSE(r.contains(""));
}

TEST(CommandRegistry, ParametersReachTheCommandUnchanged) {
    Recorder rec;
    CommandRegistry r;
    r.add("c", rec.command("c"));
    const QString params = QStringLiteral("{\"t\":\"中文\"}") + QChar(0) + QStringLiteral("𝄞");
    r.IWebCallBack("c", params);
    ASSERT_EQ(rec.calls.size(), 1);
    EXPECT_EQ(rec.calls[0], "c|" + params);
}

TEST(CommandRegistry, ActionsAnswerOneAndResultsPassThrough) {
    CommandRegistry r;
    int hits = 0;
    r.addAction("act", [&hits](const QString&) { ++hits; });
    r.add("empty", [](const QString&) { return QString(); });
    EXPECT_EQ(r.IWebCallBack("ACT", ""), "1");
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(r.IWebCallBack("empty", ""), "");
}

TEST(CommandRegistry, ExceptionsPassThroughToTheBridge) {
    CommandRegistry r;
    r.add("boom", [](const QString&) -> QString { throw std::runtime_error("坏参数"); });
    EXPECT_THROW(r.IWebCallBack("boom", ""), std::runtime_error);
}

TEST(CommandRegistry, ReplacingAndRemovingAndReplyKinds) {
    CommandRegistry r;
    r.add("Cmd", [](const QString&) { return QStringLiteral("a"); });
    r.add(
        "cmd", [](const QString&) { return QStringLiteral("b"); },
        CommandRegistry::Reply::Deferred);
    EXPECT_EQ(r.IWebCallBack("CMD", ""), "b");
    EXPECT_EQ(r.replyKind("cMd"), CommandRegistry::Reply::Deferred);
    EXPECT_EQ(r.replyKind("other"), CommandRegistry::Reply::Immediate);
    EXPECT_EQ(r.names(), QStringList{"cmd"});
    r.remove("CMD");
    EXPECT_EQ(r.IWebCallBack("cmd", ""), "1");
    r.add("", [](const QString&) { return QStringLiteral("x"); });
    r.add("nullcommand", CommandRegistry::Command());
    EXPECT_TRUE(r.names().isEmpty());
}

TEST(CommandRegistry, ACommandMayReplaceItselfWhileRunning) {
    CommandRegistry r;
    r.add("self", [&r](const QString&) {
        r.remove("self");
        return QStringLiteral("still here");
    });
    EXPECT_EQ(r.IWebCallBack("self", ""), "still here");
    EXPECT_EQ(r.IWebCallBack("self", ""), "1");
}
