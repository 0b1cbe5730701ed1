// Which folder is the program folder: --dir, the executable's folder, or the per-user data
// folder of an installed client; and the per-user folder's first start.

#include "core/ProgramDirChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kovan;

namespace {

using Kind = ProgramDirChoice::Kind;

struct Row {
    const char* what;
    ProgramDirFacts facts;
    Kind kind;
    const char* dir;
};

ProgramDirFacts facts(const char* dirOption, const char* exeDir, bool share, bool writable,
                      const char* xdg, const char* home) {
    ProgramDirFacts f;
    f.dirOption = QString::fromUtf8(dirOption);
    f.executableDir = QString::fromUtf8(exeDir);
    f.shareFolderExists = share;
    f.executableDirWritable = writable;
    f.xdgDataHome = QString::fromUtf8(xdg);
    f.home = QString::fromUtf8(home);
    return f;
}

} // namespace

TEST(StartupFolder, DecisionTable) {
    const Row rows[] = {
        {"--dir wins over an installed layout",
         facts("/srv/k/", "/usr/bin", true, false, "/x", "/home/u"), Kind::Option, "/srv/k/"},
        {"--dir wins over a read-only folder",
         facts("/srv/k/", "/opt/kovan", false, false, "", "/home/u"), Kind::Option, "/srv/k/"},
        {"a build tree runs from its own folder",
         facts("", "/work/kovan/build/bin", false, true, "/x", "/home/u"), Kind::ExecutableFolder,
         "/work/kovan/build/bin/"},
        {"a writable folder of its own", facts("", "/home/u/kovan", false, true, "", "/home/u"),
         Kind::ExecutableFolder, "/home/u/kovan/"},
        {"installed under /usr", facts("", "/usr/bin", true, false, "", "/home/u"), Kind::PerUser,
         "/home/u/.local/share/kovan/"},
        {"installed in a writable prefix still goes per user",
         facts("", "/home/u/prefix/bin", true, true, "", "/home/u"), Kind::PerUser,
         "/home/u/.local/share/kovan/"},
        {"XDG_DATA_HOME is used when absolute",
         facts("", "/usr/bin", true, false, "/data/u/", "/home/u"), Kind::PerUser,
         "/data/u/kovan/"},
        {"a relative XDG_DATA_HOME is ignored",
         facts("", "/usr/bin", true, false, "rel/share", "/home/u"), Kind::PerUser,
         "/home/u/.local/share/kovan/"},
        {"share/kovan beside a folder not named bin is no installation",
         facts("", "/usr/lib/kovan", true, true, "", "/home/u"), Kind::ExecutableFolder,
         "/usr/lib/kovan/"},
        {"a bin folder without share/kovan is no installation",
         facts("", "/usr/local/bin", false, true, "", "/home/u"), Kind::ExecutableFolder,
         "/usr/local/bin/"},
        {"a read-only folder of its own goes per user",
         facts("", "/opt/kovan", false, false, "/x/y", "/home/u"), Kind::PerUser, "/x/y/kovan/"},
        {"no usable HOME and no XDG_DATA_HOME: the executable's folder",
         facts("", "/usr/bin", true, false, "", ""), Kind::ExecutableFolder, "/usr/bin/"},
        {"a relative HOME is no home", facts("", "/opt/kovan", false, false, "", "home"),
         Kind::ExecutableFolder, "/opt/kovan/"},
        {"XDG_DATA_HOME without HOME", facts("", "/usr/bin", true, false, "/d", ""), Kind::PerUser,
         "/d/kovan/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ProgramDirChoice choice = ProgramDirChoice::decide(row.facts);
        EXPECT_EQ(choice.kind, row.kind);
        EXPECT_EQ(choice.dir, QString::fromUtf8(row.dir));
    }
}

TEST(StartupFolder, ProbeReadsTheLayout) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath("prefix/bin"));
    const QString bin = root.path() + "/prefix/bin";
    EXPECT_FALSE(ProgramDirFacts::probe({}, bin).shareFolderExists);
    ASSERT_TRUE(QDir(root.path()).mkpath("prefix/share/kovan"));
    const ProgramDirFacts f = ProgramDirFacts::probe("/given/", bin);
    EXPECT_TRUE(f.shareFolderExists);
    EXPECT_TRUE(f.executableDirWritable);
    EXPECT_EQ(f.dirOption, "/given/");
    EXPECT_EQ(f.executableDir, bin);
}

TEST(StartupFolder, PerUserFolderIsMadeOnFirstStartWithTheCompanion) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString companion = root.path() + "/kovan-companion";
    {
        QFile f(companion);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 0\n");
    }
    ProgramDirChoice choice{Kind::PerUser, root.path() + "/data/kovan/"};
    ASSERT_TRUE(choice.prepare(companion));
    EXPECT_TRUE(QFileInfo(choice.dir).isDir());
    // Private to the user.
    const QFile::Permissions perms = QFileInfo(choice.dir).permissions();
    EXPECT_TRUE(perms.testFlags(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_FALSE(perms & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    const QFileInfo zrs(choice.dir + "zrs");
    ASSERT_TRUE(zrs.isFile());
    EXPECT_TRUE(zrs.isExecutable());
    EXPECT_FALSE(QFileInfo::exists(choice.dir + "zrs.part"));

    // Later starts leave the user's companion alone (a staged update replaces it).
    {
        QFile f(choice.dir + "zrs");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("#!/bin/sh\n# updated\n");
    }
    ASSERT_TRUE(choice.prepare(companion));
    QFile kept(choice.dir + "zrs");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "#!/bin/sh\n# updated\n");
}

TEST(StartupFolder, OtherFoldersAreLeftAsTheyAre) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (Kind kind : {Kind::Option, Kind::ExecutableFolder}) {
        const ProgramDirChoice choice{kind, root.path() + "/absent/"};
        EXPECT_TRUE(choice.prepare(root.path() + "/kovan-companion"));
        EXPECT_FALSE(QFileInfo::exists(choice.dir));
    }
}

TEST(StartupFolder, FolderThatCannotBeMadeIsReported) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QFile blocker(root.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ProgramDirChoice choice{Kind::PerUser, root.path() + "/file/kovan/"};
    EXPECT_FALSE(choice.prepare(QString()));
}

TEST(StartupFolder, MissingCompanionIsNoError) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const ProgramDirChoice choice{Kind::PerUser, root.path() + "/kovan/"};
    EXPECT_TRUE(choice.prepare(root.path() + "/no-such-companion"));
    EXPECT_TRUE(QFileInfo(choice.dir).isDir());
    EXPECT_FALSE(QFileInfo::exists(choice.dir + "zrs"));
}

TEST(StartupFolder, AFolderOfAnotherAccountIsNamed) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString own = root.path() + "/";
    EXPECT_EQ(ProgramDirChoice::otherAccountProblem(own, ::geteuid()), "");
    EXPECT_EQ(ProgramDirChoice::otherAccountProblem(own + "not-yet/", ::geteuid()), "");
    // The same folder, seen by another account.
    const uid_t someoneElse = ::geteuid() + 1;
    EXPECT_EQ(ProgramDirChoice::otherAccountProblem(own, someoneElse),
              QStringLiteral("the program folder %1 belongs to another account (uid %2); each "
                             "account runs the client in a folder of its own (--dir DIR)")
                  .arg(own)
                  .arg(::geteuid()));
}
