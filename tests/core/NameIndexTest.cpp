// The hashed name index and the batch editor against NameValueList, whose plain scans define
// what a look-up finds and what an edit does.

#include "core/NameIndex.h"
#include "core/NameValueEditor.h"
#include "core/NameValueList.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>

using namespace kovan;

namespace {

// Name spellings that fold together or almost do: ASCII case, the Kelvin sign (folds to "k"),
// Greek sigma and final sigma (both fold to "σ"), a Deseret letter outside the BMP in both
// cases (a surrogate pair), sharp s, a lone surrogate, "=" and the empty name.
const QStringList kFragments{
    QStringLiteral("k"),          QStringLiteral("K"),          QStringLiteral("\u212A"),
    QStringLiteral("\u03C3"),     QStringLiteral("\u03C2"),     QStringLiteral("\u03A3"),
    QStringLiteral("\U00010400"), QStringLiteral("\U00010428"), QStringLiteral("\u00DF"),
    QStringLiteral("ss"),         QString(QChar(0xD801)),       QStringLiteral("_BID"),
    QStringLiteral("_bid"),       QStringLiteral("="),          QString(),
};

QString randomName(QRandomGenerator& rng) {
    QString s;
    const int parts = rng.bounded(3);
    for (int i = 0; i < parts; ++i)
        s += kFragments[rng.bounded(kFragments.size())];
    return s;
}

QStringList randomLines(QRandomGenerator& rng, int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        switch (rng.bounded(5)) {
        case 0:
            lines << QStringLiteral("plain line") + randomName(rng); // "=" only by chance
            break;
        default:
            lines << randomName(rng) + u'=' + QString::number(i);
        }
    }
    return lines;
}

TEST(NameIndex, FindsTheLineNameValueListUses) {
    const QStringList lines{"LocalAlert=1", "localalert=0",  "plain line", "a=b=c",
                            "=x",           "\u212A=kelvin", "\u03C3=s",   "\U00010428=d"};
    const NameIndex index(lines);
    const struct {
        const char16_t* key;
        qsizetype line;
    } cases[] = {
        {u"localalert", 0}, {u"LOCALALERT", 0}, {u"a", 3},        {u"plain line", -1},
        {u"", 4},           {u"k", 5},          {u"K", 5},        {u"\u03C2", 6},
        {u"\u03A3", 6},     {u"\U00010400", 7}, {u"missing", -1}, {u"a=b", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(index.find(c.key), c.line) << QString::fromUtf16(c.key).toStdString();
        EXPECT_EQ(NameValueList(lines).indexOf(c.key), c.line)
            << QString::fromUtf16(c.key).toStdString();
    }
}

TEST(NameIndex, RemovingTheFirstLineOfANameFindsTheNext) {
    const QStringList lines{"x=1", "Y=2", "X=3", "y=4", "x=5"};
    NameIndex index(lines);
    index.removeFirst(u"X");
    EXPECT_EQ(index.find(u"x"), 2);
    index.removeFirst(u"x");
    EXPECT_EQ(index.find(u"x"), 4);
    index.removeFirst(u"x");
    EXPECT_EQ(index.find(u"x"), -1);
    index.removeFirst(u"x"); // nothing left: no change
    EXPECT_EQ(index.find(u"x"), -1);
    EXPECT_EQ(index.find(u"y"), 1);
    // A line appended after all lines of a name were removed is found again.
    const QString later = QStringLiteral("X=6");
    index.append(NameIndex::nameOf(later), 5);
    EXPECT_EQ(index.find(u"x"), 5);
}

TEST(NameIndex, LineParts) {
    EXPECT_EQ(NameIndex::nameOf(u"a=b=c"), u"a");
    EXPECT_EQ(NameIndex::valueOf(u"a=b=c"), u"b=c");
    EXPECT_TRUE(NameIndex::nameOf(u"=x").isEmpty());
    EXPECT_FALSE(NameIndex::nameOf(u"=x").isNull());
    EXPECT_TRUE(NameIndex::nameOf(u"no name").isNull());
    EXPECT_EQ(NameIndex::valueOf(u"k="), u"");
}

// Random lines and keys: the index agrees with NameValueList's scan on every look-up, also
// when the table grows past its first size.
TEST(NameIndex, RandomLookUpsMatchNameValueList) {
    QRandomGenerator rng(12345);
    for (int round = 0; round < 300; ++round) {
        const QStringList lines = randomLines(rng, rng.bounded(40));
        const NameValueList list(lines);
        const NameIndex index(lines);
        NameIndex grown; // built line by line from an empty index
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!NameIndex::nameOf(lines[i]).isNull())
                grown.append(NameIndex::nameOf(lines[i]), i);
        for (int k = 0; k < 30; ++k) {
            const QString key = randomName(rng);
            ASSERT_EQ(index.find(key), list.indexOf(key))
                << "round " << round << " key " << key.toStdString();
            ASSERT_EQ(grown.find(key), list.indexOf(key))
                << "round " << round << " key " << key.toStdString();
        }
    }
}

TEST(NameIndex, FoldedHashAgreesWithCaseInsensitiveEquality) {
    for (const QString& a : kFragments)
        for (const QString& b : kFragments)
            if (QStringView(a).compare(b, Qt::CaseInsensitive) == 0)
                EXPECT_EQ(NameIndex::foldedHash(a), NameIndex::foldedHash(b))
                    << a.toStdString() << " / " << b.toStdString();
}

TEST(NameValueEditor, EditsAsNameValueListDoes) {
    NameValueList edited({"one=1", "Two=2", "x", "two=22", "AUTHINFO=abc"});
    NameValueList reference = edited;
    {
        NameValueEditor editor(edited);
        editor.setValue(u"TWO", u"3");
        editor.setValue(u"three", u"3");
        editor.setValue(u"AuthInfo", u"");
        editor.setValue(u"two", u""); // the replaced line goes, "two=22" is next
        EXPECT_EQ(editor.value(u"Two"), u"22");
        editor.setValue(u"a=b", u"c"); // appended; names "a" from now on
        EXPECT_EQ(editor.value(u"A"), u"b=c");
        editor.setValue(u"one", u"1"); // same line: no change
    }
    reference.setValue(u"TWO", "3");
    reference.setValue(u"three", "3");
    reference.setValue(u"AuthInfo", "");
    reference.setValue(u"two", "");
    reference.setValue(u"a=b", "c");
    reference.setValue(u"one", "1");
    EXPECT_EQ(edited.lines(), reference.lines());
    EXPECT_EQ(edited.lines(), (QStringList{"one=1", "x", "two=22", "three=3", "a=b=c"}));
}

// The lines may be shared with a copy of the list (a reader's snapshot); editing them must not
// leave the index naming a line through characters that only the copy held.
TEST(NameValueEditor, LinesSharedWithACopyStayFound) {
    NameValueList edited({"XAU_BID=1200.5", "XAU_CG=1"});
    {
        auto copy = std::make_unique<NameValueList>(edited);
        NameValueEditor editor(edited);
        editor.setValue(u"XAU_BID", u"1199.9"); // same length as the old value
        copy.reset();                           // the old characters now belong to nobody else
        QStringList churn; // fresh lines of the same size, likely in the freed place
        for (int i = 0; i < 64; ++i)
            churn << QStringLiteral("xxx_BID=%1").arg(1000.5 + i);
        EXPECT_EQ(editor.value(u"xau_bid"), u"1199.9");
        editor.setValue(u"XAU_BID", u"1199.8");
        EXPECT_EQ(editor.value(u"XAU_BID"), u"1199.8");
    }
    EXPECT_EQ(edited.lines(), (QStringList{"XAU_BID=1199.8", "XAU_CG=1"}));
}

// Random edits through the editor and through NameValueList: every look-up agrees, and the
// lines agree after each batch.
TEST(NameValueEditor, RandomEditsMatchNameValueList) {
    QRandomGenerator rng(4242);
    const QStringList values{QString(), QStringLiteral("1"), QStringLiteral("1.0"),
                             QStringLiteral("99.99"), QStringLiteral("a=b")};
    for (int round = 0; round < 300; ++round) {
        NameValueList edited(randomLines(rng, rng.bounded(12)));
        NameValueList reference = edited;
        for (int batch = 0; batch < 4; ++batch) {
            {
                NameValueEditor editor(edited);
                const int steps = rng.bounded(12);
                for (int step = 0; step < steps; ++step) {
                    const QString key = randomName(rng);
                    if (rng.bounded(3) == 0) {
                        ASSERT_EQ(editor.value(key).toString(), reference.value(key))
                            << "round " << round << " key " << key.toStdString();
                        continue;
                    }
                    const QString value = values[rng.bounded(values.size())];
                    editor.setValue(key, value);
                    reference.setValue(key, value);
                }
            }
            ASSERT_EQ(edited.lines(), reference.lines()) << "round " << round << " batch " << batch;
        }
    }
}

} // namespace
