// Hostile texts into page scripts and addresses.

#include "core/Escaping.h"
#include "core/ProgramState.h"

#include <QJSEngine>
#include <QUrl>

#include <gtest/gtest.h>

namespace kovan {
namespace {

const QString kHostile[] = {
    QString(),
    QStringLiteral("S1"),
    QStringLiteral(R"(\');anything();//)"),
    QStringLiteral(R"(");anything();//)"),
    QStringLiteral("a\\"),
    QStringLiteral("line\nbreak\rand\ttab"),
    QStringLiteral("</script><script>alert(1)</script>"),
    QString(QChar(0x2028)) + QStringLiteral("x") + QChar(0x2029),
    QString(QChar(0)) + QStringLiteral("nul") + QChar(0x1F) + QChar(0x7F),
    QStringLiteral("会员 ✓ 😀"),
    QString(QChar(0xD800)) + QStringLiteral("lone") + QChar(0xDC00), // lone surrogates
    QStringLiteral("../../etc/x"),
    QStringLiteral("S1?x=1#frag"),
    QStringLiteral("a b&c=d+e%41"),
};

TEST(JsStringLiteral, EvaluatesToTheTextAndStaysOneToken) {
    QJSEngine engine;
    for (const QString& text : kHostile) {
        const QString literal = jsStringLiteral(text);
        // Evaluates back to exactly the text, inside the smallest script around it.
        const QJSValue v = engine.evaluate(QStringLiteral("(") + literal + QStringLiteral(")"));
        ASSERT_FALSE(v.isError()) << literal.toStdString();
        EXPECT_EQ(v.toString(), text) << literal.toStdString();
        // Nothing that ends a line or an inline script survives in the source text.
        for (const QChar c : literal) {
            EXPECT_GE(c.unicode(), 0x20) << literal.toStdString();
            EXPECT_NE(c.unicode(), 0x2028);
            EXPECT_NE(c.unicode(), 0x2029);
        }
        EXPECT_FALSE(literal.contains(QStringLiteral("</"), Qt::CaseInsensitive));
    }
}

TEST(JsStringLiteral, PlainTextIsKeptReadable) {
    EXPECT_EQ(jsStringLiteral(u"S1"), "'S1'");
    EXPECT_EQ(jsStringLiteral(u"it's \"so\""), "'it\\'s \"so\"'");
    EXPECT_EQ(jsStringLiteral(u"</x>"), "'\\u003C/x\\u003E'");
    // A lone half of a surrogate pair is written as an escape; a whole pair stays as it is.
    EXPECT_EQ(jsStringLiteral(QString(QChar(0xD800))), "'\\uD800'");
    EXPECT_EQ(jsStringLiteral(u"😀"), QStringLiteral("'😀'"));
}

TEST(UrlPathSegment, NeverChangesTheShapeOfTheAddress) {
    for (const QString& text : kHostile) {
        const QString segment = urlPathSegment(text);
        const QUrl url(QStringLiteral("http://h:88/tools/signlist/") + segment +
                       QStringLiteral("/"));
        ASSERT_TRUE(url.isValid()) << segment.toStdString();
        EXPECT_EQ(url.host(), "h");
        EXPECT_FALSE(url.hasQuery()) << segment.toStdString();
        EXPECT_FALSE(url.hasFragment()) << segment.toStdString();
        EXPECT_EQ(url.path(QUrl::FullyEncoded).count(u'/'), 4) << segment.toStdString();
        EXPECT_TRUE(url.path(QUrl::FullyEncoded).startsWith("/tools/signlist/"));
        // And it decodes back to the text (lone surrogates cannot be UTF-8).
        if (!text.contains(QChar(0xD800)))
            EXPECT_EQ(QUrl::fromPercentEncoding(segment.toLatin1()), text);
    }
    EXPECT_EQ(urlPathSegment(u"../../etc/x"), "..%2F..%2Fetc%2Fx");
    EXPECT_EQ(urlPathSegment(u"S1?x=1#frag"), "S1%3Fx%3D1%23frag");
}

TEST(UrlQueryValue, KeepsOtherParametersApart) {
    const QUrl url(QStringLiteral("http://h/price.php?C=") + urlQueryValue(u"a&S=b#c") +
                   QStringLiteral("&S=") + urlQueryValue(u"x y+z"));
    QStringList keys;
    for (const QString& pair : url.query(QUrl::FullyEncoded).split(u'&'))
        keys << pair.section(u'=', 0, 0);
    EXPECT_EQ(keys, (QStringList{"C", "S"}));
    EXPECT_FALSE(url.hasFragment());
}

TEST(UsableSessid, OnlyIdsAnAddressCanCarry) {
    const struct {
        QString id;
        bool usable;
    } cases[] = {
        {"demo-session-0001", true},
        {"S1?x=1#frag", true}, // encoded as a segment, harmless
        {"a b", true},
        {QStringLiteral("会员会话"), true},
        {QString(1024, u's'), true},
        {QString(1025, u's'), false},
        {QString(), false},
        {".", false},
        {"..", false},
        {"...", true},
        {"a\nb", false},
        {"a\rb", false},
        {QStringLiteral("a\tb"), false},
        {QString(QChar(0)), false},
        {QString(QChar(0x7F)), false},
        {QString(QChar(0x85)), false},
        {QString(QChar(0x2028)), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isUsableSessid(c.id), c.usable) << c.id.left(40).toStdString();
}

} // namespace
} // namespace kovan
