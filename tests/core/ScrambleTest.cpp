#include "core/Scramble.h"

#include "core/Errors.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;

TEST(Scramble, KnownValues) {
    EXPECT_EQ(scrambleStr(""), "");
    EXPECT_EQ(unscrambleStr(""), "");
    // 'p' ^ 'p' = 0: a character equal to its key byte gives two zero digits.
    EXPECT_EQ(scrambleStr("p"), "00");
    // 'a' (0x61) ^ 'p' (0x70) = 0x11, 'b' ^ 'l' = 0x0E (leading zero kept, upper case).
    EXPECT_EQ(scrambleStr("ab"), "110E");
    // An empty key means the built-in one.
    EXPECT_EQ(scrambleStr("ab", ""), "110E");
    // Only the low byte of a character takes part.
    EXPECT_EQ(scrambleStr(QString(QChar(0x4E70))), "00");
}

TEST(Scramble, ThirtyCharactersWrapTheKey) {
    const QString key = QString::fromUtf16(kScrambleKey);
    ASSERT_EQ(key.size(), 26);
    const QString zeros(30, QChar(0));
    const QString out = scrambleStr(zeros);
    ASSERT_EQ(out.size(), 60);
    for (int i = 0; i < 30; ++i) {
        const int k = key[i % 26].unicode();
        EXPECT_EQ(out.mid(2 * i, 2).toInt(nullptr, 16), k) << i;
    }
}

TEST(Scramble, RoundTripOverLatin1) {
    QString all;
    for (int c = 0; c <= 0xFF; ++c)
        all.append(QChar(c));
    EXPECT_EQ(unscrambleStr(scrambleStr(all)), all);
    EXPECT_EQ(unscrambleStr(scrambleStr("user###p@ss word", "k"), "k"), "user###p@ss word");
}

TEST(Scramble, UnscrambleDetails) {
    // Lower-case digits are accepted; a last odd character is ignored.
    EXPECT_EQ(unscrambleStr("110e"), "ab");
    EXPECT_EQ(unscrambleStr("110E1"), "ab");
    EXPECT_EQ(unscrambleStr("1"), "");
    // Zero digits give the key byte itself.
    EXPECT_EQ(unscrambleStr("0000"), "pl");
}

TEST(Scramble, InvalidHexThrowsConversionError) {
    EXPECT_THROW(unscrambleStr("1G"), ConversionError);
    EXPECT_THROW(unscrambleStr("11 2"), ConversionError);
    EXPECT_THROW(unscrambleStr("0x"), ConversionError);
}

TEST(ClientKey, FromMachineId) {
    QTemporaryDir dir;
    struct Case {
        QByteArray content;
        QString expected;
    } const cases[] = {
        {"80000000deadbeefdeadbeefdeadbeef\n", "2147483648"},
        {"ffffffff00000000000000000000000000\n", "4294967295"},
        {"0000000a\n", "10"},
        {"abc\n", ""},          // too short
        {"zzzzzzzz1234\n", ""}, // not hexadecimal
    };
    for (const Case& c : cases) {
        QFile f(dir.filePath("machine-id"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.content);
        f.close();
        EXPECT_EQ(clientKeyFromFile(f.fileName()), c.expected) << c.content.constData();
    }
    EXPECT_EQ(clientKeyFromFile(dir.filePath("missing")), "");
}

TEST(ClientKey, IsStableAndUnsigned) {
    const QString key = getClientKey();
    EXPECT_EQ(key, getClientKey());
    if (!key.isEmpty()) {
        EXPECT_FALSE(key.startsWith('-'));
    }
}
