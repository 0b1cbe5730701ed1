// Secrets never reach a log line.

#include "core/LogScrubber.h"
#include "core/NameValueList.h"

#include <gtest/gtest.h>

using namespace kovan;

TEST(LogScrubber, RegisteredSecretsAreMaskedWherever) {
    LogScrubber s;
    s.addSecret("s3ss10n");
    s.addSecret("1A2B3C4D5E");
    EXPECT_EQ(s.scrub("refresh sgWeb: http://h:88/tools/signlist/s3ss10n/"),
              "refresh sgWeb: http://h:88/tools/signlist/***/");
    EXPECT_EQ(s.scrub("1A2B3C4D5E and again 1A2B3C4D5E"), "*** and again ***");
    EXPECT_EQ(s.scrub("nothing secret"), "nothing secret");
    s.addSecret(""); // ignored
    EXPECT_EQ(s.scrub("nothing secret"), "nothing secret");
}

TEST(LogScrubber, LongerSecretGoesWholeWhenItHoldsAShorterOne) {
    LogScrubber s;
    s.addSecret("hunter2");
    s.addSecret("alice###hunter2");
    EXPECT_EQ(s.scrub("account alice###hunter2"), "account ***");
}

TEST(LogScrubber, ValuesOfPasswordLikeNames) {
    const LogScrubber s;
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"user=alice&password=hunter2&x=1", "user=alice&password=***&x=1"},
        {"PWD: letmein", "PWD: ***"},
        {"passwd=abc def", "passwd=*** def"},
        {"?u=a&pass=xyz", "?u=a&pass=***"},
        {R"({"user":"a","password":"two words"})", R"({"user":"a","password":***})"},
        {"{'Password': 'q w'}", "{'Password': ***}"},
        {"AUTHINFO=0A1B2C", "AUTHINFO=***"},
        {"authkey = s-1;next", "authkey = ***;next"},
        {"password=", "password=***"},
        {"no such names here", "no such names here"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(s.scrub(QString::fromUtf8(row.in)), QString::fromUtf8(row.out)) << row.in;
}

TEST(LogScrubber, SettingsCredentialsAreSecrets) {
    LogScrubber s;
    NameValueList settings(
        {"localalert=1", "AuthInfo=0A0B0C0D0E0F", "AUTHKEY=sess-77", "ACCEPTCHARTTOS=1"});
    s.addSettingsSecrets(settings);
    EXPECT_EQ(s.scrub("saw 0A0B0C0D0E0F and sess-77 and localalert 1"),
              "saw *** and *** and localalert 1");
}

TEST(LogScrubber, KeepsTheNewestSecrets) {
    LogScrubber s;
    const auto name = [](int i) {
        return QStringLiteral("secret-%1-x").arg(i, 3, 10, QLatin1Char('0'));
    };
    for (int i = 0; i < LogScrubber::kMaxSecrets + 1; ++i)
        s.addSecret(name(i));
    EXPECT_EQ(s.scrub(name(0)), name(0)); // the oldest went
    EXPECT_EQ(s.scrub(name(1)), "***");
    EXPECT_EQ(s.scrub(name(LogScrubber::kMaxSecrets)), "***");
    // Registering again makes an old secret new.
    s.addSecret("secret-001-x");
    s.addSecret("another-one");
    EXPECT_EQ(s.scrub("secret-001-x"), "***");
    EXPECT_EQ(s.scrub("secret-002-x"), "secret-002-x");
}
