// Saves that fail part-way (a full disk, here a file-size limit) must leave the old file as it
// was and report the failure. The limit is set in a child process so it stays there; it works
// for root too.

#include "core/AtomicFile.h"
#include "core/ConfigFile.h"
#include "core/Errors.h"
#include "core/HistoryFile.h"
#include "core/ProgramState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovan;

namespace {

// Runs `body` in a child whose files may not grow past `limitBytes`; returns its exit code.
int runWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(AtomicFile, WritesAndReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, QByteArray("\0second", 7)));
    EXPECT_EQ(readAll(path), QByteArray("\0second", 7));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
    QString why;
    EXPECT_FALSE(writeFileAtomically(dir.filePath("no/such/folder/f"), "x", &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(AtomicFile, ShortWriteFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    const int code = runWithFileSizeLimit(
        16, [&] { return writeFileAtomically(path, QByteArray(4096, 'x')) ? 1 : 0; });
    EXPECT_EQ(code, 0) << "the write claimed success";
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
}

TEST(AtomicFile, HistorySaveThatRunsOutOfSpaceKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history/XAGRMB_H1.dat");
    ChartDataList old(3);
    for (size_t i = 0; i < old.size(); ++i)
        old[i] = ChartDataListRecord{qint32(1000 + i), 1.0f, 2.0f, 0.5f, 2.5f};
    saveHistoryFile(path, old);
    const QByteArray before = readAll(path);
    ASSERT_EQ(before.size(), 60);
    const int code = runWithFileSizeLimit(100, [&] {
        try {
            saveHistoryFile(path, ChartDataList(1000, old[0]));
        } catch (const FileOpenError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << "the save claimed success";
    EXPECT_EQ(readAll(path), before);
}

TEST(AtomicFile, ConfigSaveThatRunsOutOfSpaceKeepsFileAndMemory) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.dat");
    configfile::save(path, {"old=1"});
    const int code = runWithFileSizeLimit(16, [&] {
        ProgramState state;
        state.paths.programDir = dir.path() + "/";
        state.settings.setLines({"AUTHINFO=" + QString(200, 'A'), "localalert=1"});
        try {
            state.settings.save();
        } catch (const FileOpenError&) {
            return state.settings.value(u"localalert") == "1" ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0) << "1: the save claimed success; 2: memory changed";
    EXPECT_EQ(configfile::load(path), QStringList{"old=1"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"config.dat"});
}
