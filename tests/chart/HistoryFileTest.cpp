#include "chart/HistoryFile.h"
#include "core/Errors.h"

#include "Files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstring>
#include <thread>

using namespace kovan;

namespace {

QByteArray rawRecord(qint32 dl, float o, float c, float l, float h) {
    QByteArray b(20, '\0');
    qToLittleEndian<qint32>(dl, b.data());
    const float f[4] = {o, c, l, h};
    for (int i = 0; i < 4; ++i) {
        quint32 bits;
        std::memcpy(&bits, &f[i], 4);
        qToLittleEndian<quint32>(bits, b.data() + 4 + 4 * i);
    }
    return b;
}

ChartDataList tenBars() {
    ChartDataList s;
    for (int i = 0; i < 10; ++i)
        s.push_back({1700000000 + i * 3600, 5600.0f + i, 5601.5f + i, 5590.25f + i, 5610.0f + i});
    return s;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class ChartHistoryFileTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString dir() const { return tmp.path() + QLatin1Char('/'); }
    QString path() const { return historyFilePath(dir(), "XAGRMB", "H1"); }
};

} // namespace

TEST_F(ChartHistoryFileTest, PathIsHistoryFolderSymbolUnderscorePeriod) {
    EXPECT_EQ(historyFilePath("/p/", "XAGRMB", "H1"), QStringLiteral("/p/history/XAGRMB_H1.dat"));
    EXPECT_EQ(historyFilePath("/p/", " XAGRMB\t", "H1\r\n"),
              QStringLiteral("/p/history/XAGRMB_H1.dat"));
}

TEST_F(ChartHistoryFileTest, TwelveByteTailBecomesABarWithZeros) {
    QByteArray bytes = historyBytes(tenBars());
    bytes += rawRecord(1700100000, 7.5f, 8.25f, 9, 10).left(12);
    writeFile(path(), bytes);
    ChartDataList out;
    loadHistoryFile(path(), out);
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out.back(), (ChartDataListRecord{1700100000, 7.5f, 8.25f, 0.0f, 0.0f}));
}

TEST_F(ChartHistoryFileTest, EightByteTailIsRejected) {
    QByteArray bytes = historyBytes(tenBars());
    bytes += rawRecord(1700100000, 7.5f, 8.25f, 9, 10).left(8);
    writeFile(path(), bytes);
    ChartDataList out;
    loadHistoryFile(path(), out);
    EXPECT_EQ(out, tenBars());
}

TEST_F(ChartHistoryFileTest, LoadFilterSkipsNonPositiveTimeOpenCloseButKeepsZeroLow) {
    QByteArray bytes;
    bytes += rawRecord(1700000000, 1, 2, 0, 3);  // low 0: kept
    bytes += rawRecord(0, 1, 2, 1, 3);           // dl 0
    bytes += rawRecord(-5, 1, 2, 1, 3);          // dl < 0
    bytes += rawRecord(1700003600, 0, 2, 1, 3);  // open 0
    bytes += rawRecord(1700003600, -1, 2, 1, 3); // open < 0
    bytes += rawRecord(1700003600, 1, 0, 1, 3);  // close 0
    bytes += rawRecord(1700003600, 1, -2, 1, 3); // close < 0
    bytes += rawRecord(1700007200, 4, 5, 6, 0);  // high 0: kept
    bytes += rawRecord(1700000000, 9, 9, 9, 9);  // out of order: kept as it comes
    writeFile(path(), bytes);
    ChartDataList out;
    loadHistoryFile(path(), out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], (ChartDataListRecord{1700000000, 1, 2, 0, 3}));
    EXPECT_EQ(out[1], (ChartDataListRecord{1700007200, 4, 5, 6, 0}));
    EXPECT_EQ(out[2], (ChartDataListRecord{1700000000, 9, 9, 9, 9}));
}

TEST_F(ChartHistoryFileTest, MissingFileGivesEmptySeriesAndCreatesTheFolder) {
    ChartDataInfoRecord rec;
    rec.locked = true;
    rec.datalist = tenBars();
    loadLocalHistory(rec, dir(), "XAGRMB", "H1");
    EXPECT_TRUE(rec.datalist.empty());
    EXPECT_TRUE(rec.locked); // kept
    EXPECT_EQ(rec.symbol, QStringLiteral("XAGRMB"));
    EXPECT_TRUE(QFileInfo(dir() + "history").isDir());
}

TEST_F(ChartHistoryFileTest, SavingTenBarsOverTwelveLeavesExactly200Bytes) {
    ChartDataList twelve = tenBars();
    twelve.push_back({1700100000, 1, 2, 3, 4});
    twelve.push_back({1700103600, 1, 2, 3, 4});
    saveHistoryFile(path(), twelve);
    EXPECT_EQ(QFileInfo(path()).size(), 240);

    ChartDataInfoRecord rec;
    rec.setSymbol("XAGRMB");
    rec.setPeriod("H1");
    rec.datalist = tenBars();
    saveLocalHistory(rec, dir());
    EXPECT_EQ(QFileInfo(path()).size(), 200);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir() + "history").entryList(QDir::Files).size(), 1);
}

TEST_F(ChartHistoryFileTest, BytesRoundTripExactlyLittleEndian) {
    const ChartDataList bars = tenBars();
    saveHistoryFile(path(), bars);
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QByteArray expected;
    for (const auto& b : bars)
        expected += rawRecord(b.dl, b.open, b.close, b.low, b.high);
    EXPECT_EQ(bytes, expected);
    ChartDataInfoRecord rec;
    loadLocalHistory(rec, dir(), "XAGRMB", "H1");
    EXPECT_EQ(rec.datalist, bars);
    saveLocalHistory(rec, dir());
    QFile g(path());
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), expected);
}

TEST_F(ChartHistoryFileTest, SaveUsesTheRecordsOwnCodesCutToFifteen) {
    ChartDataInfoRecord rec;
    loadLocalHistory(rec, dir(), "ABCDEFGHIJKLMNOPQ", "H1");
    rec.datalist = tenBars();
    saveLocalHistory(rec, dir());
    EXPECT_TRUE(QFileInfo::exists(dir() + "history/ABCDEFGHIJKLMNO_H1.dat"));
}

TEST_F(ChartHistoryFileTest, UnreadableFileRaisesAndUnwritableFolderRaises) {
    // A directory where the file should be: exists, cannot be read as a file.
    QDir().mkpath(path());
    ChartDataList out;
    EXPECT_THROW(loadHistoryFile(path(), out), FileOpenError);
    EXPECT_THROW(saveHistoryFile(path(), tenBars()), FileOpenError);
    // A file where the folder should be.
    writeFile(dir() + "blocked", "x");
    EXPECT_THROW(saveHistoryFile(dir() + "blocked/history/A_B.dat", tenBars()), FileOpenError);
}

TEST_F(ChartHistoryFileTest, OnlyARegularFileWithinTheLimitIsLoaded) {
    QDir().mkpath(dir() + "history");
    ChartDataList out;
    // A link to /dev/zero would be read for ever; a file past the limit is refused whole.
    ASSERT_TRUE(QFile::link("/dev/zero", path()));
    EXPECT_THROW(loadHistoryFile(path(), out), FileOpenError);
    ASSERT_TRUE(QFile::remove(path()));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kMaxHistoryBytes + 20));
    f.close();
    EXPECT_THROW(loadHistoryFile(path(), out), FileOpenError);
    EXPECT_TRUE(out.empty());
}

TEST_F(ChartHistoryFileTest, ConcurrentSavesOfOnePathNeverTearTheFile) {
    ChartDataList small = tenBars();
    ChartDataList big;
    for (int i = 0; i < 5000; ++i)
        big.push_back({1700000000 + i * 60, 2, 3, 1, 4});
    std::thread a([&] {
        for (int i = 0; i < 30; ++i)
            saveHistoryFile(path(), small);
    });
    std::thread b([&] {
        for (int i = 0; i < 30; ++i)
            saveHistoryFile(path(), big);
    });
    for (int i = 0; i < 30; ++i) {
        ChartDataList out;
        loadHistoryFile(path(), out);
        EXPECT_TRUE(out.empty() || out == small || out == big) << out.size();
    }
    a.join();
    b.join();
    ChartDataList out;
    loadHistoryFile(path(), out);
    EXPECT_TRUE(out == small || out == big);
}

TEST(HistoryFile, ASaveThatRunsOutOfSpaceKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history/XAGRMB_H1.dat");
    ChartDataList old(3);
    for (size_t i = 0; i < old.size(); ++i)
        old[i] = ChartDataListRecord{qint32(1000 + i), 1.0f, 2.0f, 0.5f, 2.5f};
    saveHistoryFile(path, old);
    const QByteArray before = test::fileBytes(path);
    ASSERT_EQ(before.size(), 60);
    const int code = test::runWithFileSizeLimit(100, [&] {
        try {
            saveHistoryFile(path, ChartDataList(1000, old[0]));
        } catch (const FileOpenError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << "the save claimed success";
    EXPECT_EQ(test::fileBytes(path), before);
}
