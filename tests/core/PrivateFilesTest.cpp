// Files and folders that are one account's alone: the private-folder check, folders made
// inside a private folder, secret files made 0600 whatever the umask.

#include "core/PrivateFiles.h"

#include "Files.h"
#include "OtherAccount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::modeOf;
using kovan::test::OtherAccount;
using kovan::test::ScopedUmask;

namespace {

struct stat statOf(mode_t mode, uid_t owner) {
    struct stat st {};
    st.st_mode = mode;
    st.st_uid = owner;
    return st;
}

bool makeFolderWithMode(const QString& path, mode_t mode) {
    return ::mkdir(QFile::encodeName(path).constData(), mode) == 0 &&
           ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

TEST(PrivateFolder, CheckTable) {
    const uid_t self = 1000;
    const struct {
        mode_t mode;
        uid_t owner;
        const char* problem;
    } cases[] = {
        {S_IFDIR | 0700, self, ""},
        {S_IFDIR | 0500, self, ""},
        {S_IFDIR | 0750, self, "open to group or others (mode 0750)"},
        {S_IFDIR | 0701, self, "open to group or others (mode 0701)"},
        {S_IFDIR | 01777, self, "open to group or others (mode 1777)"},
        {S_IFDIR | 0700, 1001, "owned by uid 1001"},
        {S_IFLNK | 0777, self, "a link"},
        {S_IFREG | 0600, self, "not a folder"},
        {S_IFSOCK | 0700, self, "not a folder"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkPrivateFolder(statOf(c.mode, c.owner), self), QString(c.problem))
            << std::oct << c.mode << " uid " << std::dec << c.owner;
}

TEST(PrivateFolder, MadeWhateverTheUmaskOrCheckedAndLeftAlone) {
    QTemporaryDir dir;
    const QString own = dir.filePath("own");
    ASSERT_TRUE(makeFolderWithMode(own, 0700));
    const QString open = dir.filePath("open");
    ASSERT_TRUE(makeFolderWithMode(open, 0755));
    const QString file = dir.filePath("file");
    QFile(file).open(QIODevice::WriteOnly);
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(own, link));

    ScopedUmask mask(0277); // would leave a new folder 0500
    EXPECT_EQ(makePrivateFolder(dir.filePath("new")), "");
    EXPECT_EQ(modeOf(dir.filePath("new")), 0700);
    EXPECT_EQ(makePrivateFolder(own), "");
    EXPECT_EQ(makePrivateFolder(open), "open to group or others (mode 0755)");
    EXPECT_EQ(modeOf(open), 0755); // not changed
    EXPECT_EQ(makePrivateFolder(file), "not a folder");
    EXPECT_EQ(makePrivateFolder(link), "a link");
    EXPECT_TRUE(makePrivateFolder(dir.filePath("no/parent")).startsWith("cannot be made: "));
    EXPECT_EQ(checkPrivateFolder(dir.filePath("nothing")), "missing");
}

TEST(PrivateFolder, OneOfAnotherAccountIsRefused) {
    std::string whyNot;
    const std::optional<OtherAccount> other = OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    QTemporaryDir dir;
    const QString theirs = dir.filePath("theirs");
    ASSERT_TRUE(makeFolderWithMode(theirs, 0700));
    ASSERT_TRUE(other->give(theirs));
    EXPECT_EQ(makePrivateFolder(theirs), QStringLiteral("owned by uid %1").arg(other->uid));
    EXPECT_EQ(test::ownerOf(theirs), qint64(other->uid));
}

TEST(MakeFolder, InsideAPrivateFolderThePrivateModeOtherwiseTheUmask) {
    QTemporaryDir dir;
    const QString closed = dir.filePath("closed");
    const QString open = dir.filePath("open");
    ASSERT_TRUE(makeFolderWithMode(closed, 0700));
    ASSERT_TRUE(makeFolderWithMode(open, 0755));
    {
        ScopedUmask mask(0022);
        EXPECT_TRUE(makeFolder(closed + "/cache"));
        EXPECT_EQ(modeOf(closed + "/cache"), 0700);
        EXPECT_TRUE(makeFolder(open + "/cache"));
        EXPECT_EQ(modeOf(open + "/cache"), 0755);
        // Each level inside the private folder is private in turn.
        EXPECT_TRUE(makeFolders(closed + "/history/a/b"));
        for (const char* level : {"/history", "/history/a", "/history/a/b"})
            EXPECT_EQ(modeOf(closed + level), 0700) << level;
    }
    {
        ScopedUmask mask(0277);
        EXPECT_TRUE(makeFolder(closed + "/logs"));
        EXPECT_EQ(modeOf(closed + "/logs"), 0700);
    }
    // An existing folder counts and is left as it is; a plain file or a missing parent does
    // not make a folder.
    EXPECT_TRUE(makeFolder(open));
    EXPECT_EQ(modeOf(open), 0755);
    QFile(closed + "/plain").open(QIODevice::WriteOnly);
    EXPECT_FALSE(makeFolder(closed + "/plain"));
    EXPECT_FALSE(makeFolders(closed + "/plain/below"));
    EXPECT_FALSE(makeFolder(closed + "/missing/below"));
    EXPECT_FALSE(QDir(closed + "/missing").exists());
}

TEST(KeepToOwner, NewAndOldFilesEndUp0600) {
    QTemporaryDir dir;
    ScopedUmask mask(0022);
    const struct {
        const char* name;
        mode_t before;
    } cases[] = {{"open", 0644}, {"everyone", 0666}, {"executable", 0755}, {"closed", 0600}};
    for (const auto& c : cases) {
        const QByteArray path = QFile::encodeName(dir.filePath(c.name));
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, c.before);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::fchmod(fd, c.before), 0);
        EXPECT_TRUE(keepToOwner(fd)) << c.name;
        ::close(fd);
        EXPECT_EQ(modeOf(dir.filePath(c.name)), 0600) << c.name;
    }
}
