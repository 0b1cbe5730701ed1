// The log writer: one stamped line per event in the day's file, at most ten files, a bounded
// queue that never makes the caller wait, and nothing left behind at stop. TraceLog: trace()
// lines reach the file scrubbed.

#include "core/LogWriter.h"
#include "core/LogFormat.h"
#include "core/LogScrubber.h"
#include "core/NameValueList.h"
#include "core/Trace.h"
#include "core/TraceLog.h"

#include "Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kovan;

namespace {

const QDateTime kAt(QDate(2025, 1, 31), QTime(8, 5, 3, 123));

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> linesOf(const QString& path) {
    QList<QByteArray> lines = readAll(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

LogWriter::Options fixedClock(QDateTime at) {
    LogWriter::Options o;
    o.now = [at] { return at; };
    return o;
}

void touch(const QString& path, const QByteArray& bytes = "old\n") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(LogWriter, OneStampedLinePerEventInTheDaysFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    touch(dir.filePath("kovan-20250131.log"), "earlier run\n");
    {
        LogWriter log(dir.path(), fixedClock(kAt));
        log.append("start-up done");
        log.append("error dropped (kovan::TMainForm): 错误, \rstd::runtime_error\rboom");
    }
    EXPECT_EQ(readAll(dir.filePath("kovan-20250131.log")),
              "earlier run\n"
              "2025-01-31 08:05:03.123 start-up done\n"
              "2025-01-31 08:05:03.123 error dropped (kovan::TMainForm): 错误, "
              "|std::runtime_error|boom\n");
    {
        LogWriter log(dir.path(), fixedClock(kAt.addDays(1)));
        log.append("next day");
    }
    const QFileInfo next(dir.filePath("kovan-20250201.log"));
    ASSERT_TRUE(next.isFile());
    // New files are the user's alone.
    EXPECT_FALSE(next.permissions() & (QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(readAll(next.filePath()), "2025-02-01 08:05:03.123 next day\n");
}

TEST(LogWriter, LogFilesAreTheUsersAloneWhateverTheUmask) {
    // An older file others could read is tightened before more goes in; a new one is 0600
    // even where the umask would leave it read-only.
    QTemporaryDir dir;
    const QString old = dir.filePath("kovan-20250131.log");
    touch(old, "earlier run\n");
    ASSERT_EQ(::chmod(QFile::encodeName(old).constData(), 0644), 0);
    {
        const test::ScopedUmask mask(0277);
        LogWriter log(dir.path(), fixedClock(kAt));
        log.append("start-up done");
        log.stop();
        LogWriter next(dir.path(), fixedClock(kAt.addDays(1)));
        next.append("next day");
        next.stop();
        next.append("after stop");
    }
    EXPECT_EQ(test::modeOf(old), 0600);
    EXPECT_EQ(linesOf(old).size(), 2);
    EXPECT_EQ(test::modeOf(dir.filePath("kovan-20250201.log")), 0600);
    // Still the user's to append to on the next run.
    LogWriter again(dir.path(), fixedClock(kAt.addDays(1)));
    again.append("again");
    again.stop();
    EXPECT_EQ(linesOf(dir.filePath("kovan-20250201.log")).size(), 2);
}

TEST(LogRotation, AtMostTenFilesKeptOldestRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int day = 1; day <= 12; ++day)
        touch(dir.filePath(logFileName(QDate(2025, 1, day))));
    touch(dir.filePath("notes.txt"));
    {
        LogWriter log(dir.path(), fixedClock(kAt));
        log.append("today");
    }
    QStringList expected{"notes.txt", logFileName(kAt.date())};
    for (int day = 4; day <= 12; ++day)
        expected << logFileName(QDate(2025, 1, day));
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
}

TEST(LogRotation, EachNewDayStartsAFileAndTheOldestGo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto day = std::make_shared<std::atomic<int>>(0);
    LogWriter::Options o;
    o.now = [day] { return kAt.addDays(day->load()); };
    // A run a day for fifteen days, a line each.
    for (int i = 0; i < 15; ++i) {
        day->store(i);
        LogWriter log(dir.path(), o);
        log.append(QStringLiteral("day %1").arg(i));
    }
    const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 10);
    EXPECT_EQ(files.first(), logFileName(kAt.date().addDays(5)));
    EXPECT_EQ(files.last(), logFileName(kAt.date().addDays(14)));
}

TEST(LogRotation, OneWriterCrossingMidnightSplitsTheBatch) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto at = std::make_shared<std::atomic<qint64>>(
        QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59, 900)).toMSecsSinceEpoch());
    LogWriter::Options o;
    o.now = [at] { return QDateTime::fromMSecsSinceEpoch(at->load()); };
    {
        LogWriter log(dir.path(), o);
        log.append("before midnight");
        at->fetch_add(200);
        log.append("after midnight");
    }
    EXPECT_EQ(readAll(dir.filePath("kovan-20250131.log")),
              "2025-01-31 23:59:59.900 before midnight\n");
    EXPECT_EQ(readAll(dir.filePath("kovan-20250201.log")),
              "2025-02-01 00:00:00.100 after midnight\n");
}

TEST(LogWriter, AppendNeverWaitsForTheWriter) {
    // The writer is held inside its first write; the caller keeps appending far past the
    // queue's bound and every call returns (a waiting append would hang this test). What did
    // not fit is counted and reported once the writer moves on.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    auto first = std::make_shared<std::atomic<bool>>(true);
    LogWriter::Options o = fixedClock(kAt);
    o.maxQueued = 8;
    o.beforeWrite = [&entered, released, first] {
        if (first->exchange(false)) {
            entered.set_value();
            released.wait();
        }
    };
    LogWriter log(dir.path(), o);
    log.append("line 0");
    entered.get_future().wait(); // the writer holds "line 0" and waits
    for (int i = 1; i <= 30; ++i)
        log.append(QStringLiteral("line %1").arg(i));
    EXPECT_EQ(log.droppedTotal(), 30 - 7);
    release.set_value();
    log.stop();

    QList<QByteArray> expected;
    for (int i = 0; i <= 7; ++i)
        expected << "2025-01-31 08:05:03.123 line " + QByteArray::number(i);
    expected << "2025-01-31 08:05:03.123 log: 23 lines dropped";
    EXPECT_EQ(linesOf(dir.filePath("kovan-20250131.log")), expected);
}

TEST(LogWriter, LinesWaitForTheFolder) {
    // Start-up makes <dir>/logs after the first events; they reach the file with the later
    // ones, in order.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString logs = root.filePath("logs");
    {
        LogWriter log(logs, fixedClock(kAt));
        log.append("no session block yet");
        log.append("companion started");
        ASSERT_TRUE(QDir().mkdir(logs));
        log.append("start-up done");
    }
    EXPECT_EQ(linesOf(logs + "/kovan-20250131.log"),
              (QList<QByteArray>{"2025-01-31 08:05:03.123 no session block yet",
                                 "2025-01-31 08:05:03.123 companion started",
                                 "2025-01-31 08:05:03.123 start-up done"}));
}

TEST(LogWriter, NoFolderNoFileAndAppendAfterStopIsIgnored) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString logs = root.filePath("logs");
    {
        LogWriter log(logs, fixedClock(kAt));
        log.append("never written");
        log.stop();
        ASSERT_TRUE(QDir().mkdir(logs));
        log.append("after stop");
        log.stop(); // idempotent
    }
    EXPECT_TRUE(QDir(logs).isEmpty());

    // A plain file where the folder should be: nothing is written, nothing breaks.
    const QString blocked = root.filePath("blocked");
    touch(blocked, "");
    {
        LogWriter log(blocked, fixedClock(kAt));
        log.append("lost");
    }
    EXPECT_EQ(readAll(blocked), QByteArray());
}

TEST(LogWriter, ManyThreadsAppendAndEveryLineArrivesWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    LogWriter::Options o = fixedClock(kAt);
    o.maxQueued = 100000;
    {
        LogWriter log(dir.path(), o);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&log, t] {
                for (int i = 0; i < 250; ++i)
                    log.append(QStringLiteral("t%1 n%2").arg(t).arg(i));
            });
        for (std::thread& th : threads)
            th.join();
    }
    const QList<QByteArray> lines = linesOf(dir.filePath("kovan-20250131.log"));
    ASSERT_EQ(lines.size(), 1000);
    // Each thread's lines in its own order.
    int next[4] = {0, 0, 0, 0};
    for (const QByteArray& line : lines) {
        const QByteArray text = line.mid(24);
        const int t = text.mid(1, 1).toInt();
        ASSERT_EQ(text, "t" + QByteArray::number(t) + " n" + QByteArray::number(next[t]));
        ++next[t];
    }
}

TEST(TraceLog, TraceLinesReachTheFileScrubbed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    NameValueList settings({"localalert=1", "AUTHINFO=5A6B7C8D9E0F1A2B"});
    logScrubber().addSettingsSecrets(settings);
    {
        TraceLog log(dir.path(), fixedClock(kAt));
        trace("start-up done");
        trace("error dropped (x): 错误, \rstd::runtime_error\rbad AUTHINFO 5A6B7C8D9E0F1A2B");
        trace("login form user=alice&password=hunter2");
    }
    trace("after the log ended"); // goes nowhere, breaks nothing
    const QByteArray text = readAll(dir.filePath("kovan-20250131.log"));
    EXPECT_TRUE(text.contains("08:05:03.123 start-up done\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("bad AUTHINFO ***")) << text.toStdString();
    EXPECT_TRUE(text.contains("password=***")) << text.toStdString();
    EXPECT_FALSE(text.contains("5A6B7C8D9E0F1A2B"));
    EXPECT_FALSE(text.contains("hunter2"));
    EXPECT_FALSE(text.contains("after the log ended"));
    logScrubber().clear();
}
