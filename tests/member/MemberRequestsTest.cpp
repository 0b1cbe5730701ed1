#include "member/MemberRequests.h"

#include "net/FormBody.h"

#include <gtest/gtest.h>

using namespace kovan;

namespace {

TEST(MemberRequestsTest, LoginParametersAreThreeLinesInOrder) {
    EXPECT_EQ(loginParameters(QStringLiteral("13800138000"), QStringLiteral("demo123"),
                              QStringLiteral("4023233417")),
              QStringLiteral("user=13800138000\r\npasswd=14090C065F5E5C\r\nckey=4023233417"));
}

TEST(MemberRequestsTest, LoginBodyByteForByte) {
    // The user as typed (percent-encoded by the form rules), the password scrambled with the
    // built-in key, the client key unscrambled; joined with "&".
    EXPECT_EQ(
        encodeFormBody(loginParameters(QStringLiteral("demo user@mail.cn"),
                                       QStringLiteral("demo123"), QStringLiteral("4023233417"))),
        QByteArray("user=demo%20user@mail.cn&passwd=14090C065F5E5C&ckey=4023233417"));
    // A password of "###" and an empty client key.
    EXPECT_EQ(
        encodeFormBody(loginParameters(QStringLiteral("u"), QStringLiteral("a###b"), QString())),
        QByteArray("user=u&passwd=114F424A0C&ckey="));
}

TEST(MemberRequestsTest, LogoutIsOneLine) {
    EXPECT_EQ(logoutParameters(), QStringLiteral("logout=1"));
    EXPECT_EQ(encodeFormBody(logoutParameters()), QByteArray("logout=1"));
}

struct ReplyCase {
    const char* text;
    bool ok;
    const char* uid;
    const char* sessid;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << "reply '" << c.text << "'";
}

class LoginReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(LoginReplyTest, OnlyAJsonObjectWithStatusOneIsALogin) {
    const ReplyCase& c = GetParam();
    const LoginReply r = LoginReply::parse(QString::fromUtf8(c.text));
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.uid, QString::fromUtf8(c.uid));
    EXPECT_EQ(r.sessid, QString::fromUtf8(c.sessid));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginReplyTest,
    ::testing::Values(ReplyCase{R"({"status":1,"UID":"20001","sessid":"m1"})", true, "20001", "m1"},
                      ReplyCase{R"({"status":1,"UID":20001,"sessid":"m1"})", true, "20001", "m1"},
                      ReplyCase{R"({"status":"1","UID":7,"sessid":"m1"})", true, "7", "m1"},
                      ReplyCase{R"({"status":1})", true, "", ""},
                      ReplyCase{R"({"status":0,"error":"x","errno":"10000101"})", false, "", ""},
                      ReplyCase{R"({"status":0,"error":"系统错误，请重试！","errno":"10000000"})",
                                false, "", ""},
                      ReplyCase{R"({"UID":1,"sessid":"m1"})", false, "", ""},
                      ReplyCase{R"([{"status":1}])", false, "", ""},
                      ReplyCase{"<html>status 1</html>", false, "", ""},
                      // Standard JSON only: no single quotes, no trailing commas.
                      ReplyCase{"{'status':1,'sessid':'m1'}", false, "", ""},
                      ReplyCase{R"({"status":1,"sessid":"m1",})", false, "", ""},
                      ReplyCase{"", false, "", ""},
                      // Session ids no page or address could carry safely.
                      ReplyCase{R"({"status":1,"UID":7,"sessid":".."})", false, "", ""},
                      ReplyCase{R"({"status":1,"UID":7,"sessid":"a\nb"})", false, "", ""},
                      ReplyCase{R"({"status":1,"UID":7,"sessid":"a\u2028b"})", false, "", ""}));

} // namespace
