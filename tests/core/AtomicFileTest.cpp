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

#include <sys/stat.h>

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

TEST(AtomicFile, OwnerOnlyFilesAre0600WhateverTheUmaskAndTheOldMode) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        FileAccess access;
        mode_t umask;
        int before; // -1: no file yet
        int after;
    } cases[] = {
        {"as-before-new", FileAccess::AsBefore, 0022, -1, 0644},
        {"as-before-old", FileAccess::AsBefore, 0022, 0640, 0640},
        {"owner-new", FileAccess::OwnerOnly, 0022, -1, 0600},
        {"owner-new-no-umask", FileAccess::OwnerOnly, 0000, -1, 0600},
        {"owner-new-tight-umask", FileAccess::OwnerOnly, 0277, -1, 0600},
        {"owner-old-open", FileAccess::OwnerOnly, 0022, 0644, 0600},
        {"owner-old-everyone", FileAccess::OwnerOnly, 0022, 0666, 0600},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        if (c.before >= 0) {
            ASSERT_TRUE(writeFileAtomically(path, "old"));
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(c.before)), 0);
        }
        const test::ScopedUmask mask(c.umask);
        ASSERT_TRUE(writeFileAtomically(path, "new", nullptr, c.access)) << c.name;
        EXPECT_EQ(test::modeOf(path), c.after) << c.name;
        EXPECT_EQ(test::fileBytes(path), "new") << c.name;
    }
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
