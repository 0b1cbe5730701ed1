// Log file names, line format and which old files go.

#include "core/LogFormat.h"

#include <gtest/gtest.h>

using namespace kovan;

TEST(LogFormat, FileNameCarriesTheDay) {
    EXPECT_EQ(logFileName(QDate(2025, 1, 31)), "kovan-20250131.log");
    EXPECT_EQ(logFileName(QDate(2024, 12, 1)), "kovan-20241201.log");
}

TEST(LogFormat, OneLineWithTimestamp) {
    const QDateTime at(QDate(2025, 1, 31), QTime(8, 5, 3, 7));
    const struct {
        QString text;
        QByteArray line;
    } rows[] = {
        {"start-up done", "2025-01-31 08:05:03.007 start-up done\n"},
        {"", "2025-01-31 08:05:03.007 \n"},
        // The handler's texts hold carriage returns; a line stays a line.
        {"错误, \rstd::runtime_error\rboom",
         "2025-01-31 08:05:03.007 错误, |std::runtime_error|boom\n"},
        {"a\r\nb\nc", "2025-01-31 08:05:03.007 a||b|c\n"},
        {QStringLiteral("tab\there\x01\x7f."), "2025-01-31 08:05:03.007 tab here  .\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(logLine(at, row.text), row.line);
    }
}

TEST(LogRotation, FilesToRemoveKeepTheNewest) {
    QStringList eleven;
    for (int day = 1; day <= 11; ++day)
        eleven << logFileName(QDate(2025, 3, day));
    const struct {
        const char* what;
        QStringList names;
        int keep;
        QString current;
        QStringList removed;
    } rows[] = {
        {"ten or fewer: nothing goes", eleven.mid(0, 9), 10, logFileName(QDate(2025, 3, 10)), {}},
        {"the current file counts",
         eleven.mid(0, 10),
         10,
         logFileName(QDate(2025, 3, 11)),
         {logFileName(QDate(2025, 3, 1))}},
        {"eleven old and a new one",
         eleven,
         10,
         logFileName(QDate(2025, 3, 20)),
         {logFileName(QDate(2025, 3, 2)), logFileName(QDate(2025, 3, 1))}},
        {"the current file stays even when it sorts oldest (clock set back)",
         eleven,
         10,
         logFileName(QDate(2025, 2, 1)),
         {logFileName(QDate(2025, 3, 2)), logFileName(QDate(2025, 3, 1))}},
        {"other files are never removed",
         QStringList{"notes.txt", "kovan-latest.log", "kovan-2025010.log", "kovan-202501011.log",
                     "xkovan-20250101.log"} +
             eleven,
         2, eleven.last(), eleven.mid(0, 9)},
        {"no current file", eleven, 10, QString(), {logFileName(QDate(2025, 3, 1))}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QStringList removed = logFilesToRemove(row.names, row.keep, row.current);
        QStringList expected = row.removed;
        removed.sort();
        expected.sort();
        EXPECT_EQ(removed, expected);
    }
}
