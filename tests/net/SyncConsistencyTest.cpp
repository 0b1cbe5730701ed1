// Replays the fuzz seeds and random mutations of them through the consistency checks, so the
// checks also run where no fuzzer is built.
#include "SyncConsistency.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QList<QByteArray> seeds() {
    QList<QByteArray> out;
    const QDir dir(QStringLiteral(KOVAN_SOURCE_DIR "/tests/fuzz-seeds/net_sync_fuzz"));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            out << f.readAll();
    }
    return out;
}

TEST(SyncConsistencyTest, SeedsKeepTheTablesConsistent) {
    const QList<QByteArray> all = seeds();
    ASSERT_GE(all.size(), 5);
    for (const QByteArray& s : all)
        EXPECT_EQ(kovan::test::checkInput(s), "") << s.toStdString();
}

TEST(SyncConsistencyTest, MutatedSeedsKeepTheTablesConsistent) {
    QRandomGenerator rng(4242);
    const QList<QByteArray> all = seeds();
    const QByteArray tokens[] = {"\"",       ",",        "{",    "}",     "[",
                                 "]",        ":",        "1",    "-9",    "\"XAU\"",
                                 "\"rate\"", "\"rdnt\"", "null", "\"=\"", "\"\\u212a\""};
    for (int i = 0; i < 3000; ++i) {
        QByteArray s = all[rng.bounded(all.size())];
        const int edits = 1 + rng.bounded(4);
        for (int e = 0; e < edits && !s.isEmpty(); ++e) {
            const int at = rng.bounded(s.size());
            switch (rng.bounded(3)) {
            case 0:
                s.remove(at, 1 + rng.bounded(8));
                break;
            case 1:
                s.insert(at, tokens[rng.bounded(int(std::size(tokens)))]);
                break;
            default:
                s[at] = char(rng.bounded(256));
            }
        }
        const std::string error = kovan::test::checkInput(s);
        ASSERT_EQ(error, "") << s.toStdString();
    }
}

} // namespace
