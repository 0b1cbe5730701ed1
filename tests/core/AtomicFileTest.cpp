// Saves that fail part-way (a full disk, here a file-size limit) must leave the old file as it
// was and report the failure. The limit is set in a child process so it stays there; it works
// for root too.

#include "core/AtomicFile.h"
#include "core/ConfigFile.h"
#include "core/Errors.h"
#include "core/ProgramState.h"

#include "Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;
using kovan::test::runWithFileSizeLimit;

TEST(AtomicFile, WritesAndReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, QByteArray("\0second", 7)));
    EXPECT_EQ(test::fileBytes(path), QByteArray("\0second", 7));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
    QString why;
    EXPECT_FALSE(writeFileAtomically(dir.filePath("no/such/folder/f"), "x", &why));
    EXPECT_FALSE(why.isEmpty());
}

// A file written for the user alone is so from its first byte, also when it replaces one that
// others could read.
TEST(AtomicFile, GivenPermissionsHoldForTheNewFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("own.dat");
    ASSERT_TRUE(writeFileAtomically(path, "open"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(writeFileAtomically(path, "mine", QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(test::fileBytes(path), "mine");
    EXPECT_EQ(test::fileMode(path), 0600);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"own.dat"});
}

TEST(AtomicFile, ShortWriteFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    const int code = runWithFileSizeLimit(
        16, [&] { return writeFileAtomically(path, QByteArray(4096, 'x')) ? 1 : 0; });
    EXPECT_EQ(code, 0) << "the write claimed success";
    EXPECT_EQ(test::fileBytes(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.bin"});
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
