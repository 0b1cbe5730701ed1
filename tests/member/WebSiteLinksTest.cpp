#include "member/WebSiteLinks.h"

#include "core/Scramble.h"

#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

const HostPort kSite{QStringLiteral("www.langou-signals.cn"), 80};
const HostPort kDemoSite{QStringLiteral("127.0.0.1"), 8803};

TEST(WebSiteLinksTest, PlainSessionGivesThePagesAddresses) {
    const QString c = QStringLiteral("4058535D5B");
    EXPECT_EQ(priceUrl(kSite, c, QStringLiteral("s1")),
              QStringLiteral("http://www.langou-signals.cn/price.php?C=4058535D5B&S=s1"));
    EXPECT_EQ(registerUrl(kSite, c, QStringLiteral("s1")),
              QStringLiteral("http://www.langou-signals.cn/register.php?C=4058535D5B&S=s1"));
    EXPECT_EQ(dialogRegisterUrl(kSite, c),
              QStringLiteral("http://www.langou-signals.cn/register.php?C=4058535D5B"));
    EXPECT_EQ(memberPageUrl(kSite, QStringLiteral("s1"), c),
              QStringLiteral("http://www.langou-signals.cn/?S=s1&C=4058535D5B"));
    EXPECT_EQ(priceUrl(kDemoSite, c, QStringLiteral("s1")),
              QStringLiteral("http://127.0.0.1:8803/price.php?C=4058535D5B&S=s1"));
    EXPECT_EQ(webSiteAuthority(kSite), QStringLiteral("www.langou-signals.cn"));
    EXPECT_EQ(webSiteAuthority(kDemoSite), QStringLiteral("127.0.0.1:8803"));
}

TEST(WebSiteLinksTest, AwkwardSessionCannotChangeTheAddress) {
    const QString c = QStringLiteral("4058535D5B");
    const QStringList sessions = {QStringLiteral("a&S=evil"),    QStringLiteral("x#frag"),
                                  QStringLiteral("sp ace+plus"), QStringLiteral("100%25/../?q"),
                                  QStringLiteral("会员\r\n"),    QString()};
    for (const QString& sessid : sessions) {
        SCOPED_TRACE(sessid.toStdString());
        const struct {
            QString url;
            QString path;
            QStringList keys;
        } links[] = {
            {priceUrl(kSite, c, sessid), QStringLiteral("/price.php"), {"C", "S"}},
            {registerUrl(kSite, c, sessid), QStringLiteral("/register.php"), {"C", "S"}},
            {memberPageUrl(kSite, sessid, c), QStringLiteral("/"), {"S", "C"}},
        };
        for (const auto& link : links) {
            const QUrl url(link.url, QUrl::StrictMode);
            ASSERT_TRUE(url.isValid()) << link.url.toStdString();
            EXPECT_EQ(url.host(), kSite.host);
            EXPECT_EQ(url.path(), link.path);
            EXPECT_FALSE(url.hasFragment());
            const QUrlQuery query(url);
            QStringList keys;
            for (const auto& item : query.queryItems())
                keys << item.first;
            EXPECT_EQ(keys, link.keys);
            EXPECT_EQ(query.queryItemValue(QStringLiteral("S"), QUrl::FullyDecoded), sessid);
            EXPECT_EQ(query.queryItemValue(QStringLiteral("C"), QUrl::FullyDecoded), c);
        }
    }
    EXPECT_EQ(
        priceUrl(kSite, c, QStringLiteral("a&S=b #c")),
        QStringLiteral("http://www.langou-signals.cn/price.php?C=4058535D5B&S=a%26S%3Db%20%23c"));
}

TEST(WebSiteLinksTest, ClientKeyOfTheLinksIsTheScrambledClientKey) {
    EXPECT_EQ(linkClientKey(), scrambleStr(getClientKey()));
    EXPECT_EQ(unscrambleStr(linkClientKey()), getClientKey());
}

} // namespace
