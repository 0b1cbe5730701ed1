// The session block in /dev/shm: read only when it is the user's own and nobody else may write
// it; published by the companion stand-in in a new block of its own, never into another's.

#include "core/SharedBlock.h"

#include "Files.h"
#include "OtherAccount.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::OtherAccount;

namespace {

QString uniqueName(const char* stem) {
    return QString::fromLatin1(stem) + QString::number(::getpid());
}

// /dev/shm is where glibc keeps "/" + name.
QString shmPath(const QString& name) {
    return "/dev/shm/" + name;
}

// A block holding `text`, with `mode`.
bool plantBlock(const QString& name, const QString& text, mode_t mode) {
    if (!publishSessionBlock(name, text))
        return false;
    const int fd = ::shm_open(("/" + name.toUtf8()).constData(), O_RDWR, 0);
    const bool ok = fd >= 0 && ::fchmod(fd, mode) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace

TEST(SharedBlock, PublishAndRead) {
    const QString name = uniqueName("KVNTESTBLOCK");
    EXPECT_EQ(readSessionBlock(name).status, SessionBlockRead::Status::Missing);
    const QString text = R"({"UID":12,"sessid":"会话'1"})";
    ASSERT_TRUE(publishSessionBlock(name, text));
    const SessionBlockRead read = readSessionBlock(name);
    EXPECT_EQ(read.status, SessionBlockRead::Status::Ok);
    EXPECT_EQ(read.text, text);
    // A shorter text replaces a longer one completely (zero-terminated).
    ASSERT_TRUE(publishSessionBlock(name, "{}"));
    EXPECT_EQ(readSessionBlock(name).text, "{}");
    removeSessionBlock(name);
    EXPECT_EQ(readSessionBlock(name).status, SessionBlockRead::Status::Missing);
}

TEST(SharedBlock, EmptyObjectIsUnmappable) {
    const QString name = uniqueName("KVNEMPTYBLOCK");
    QFile f(shmPath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(readSessionBlock(name).status, SessionBlockRead::Status::Unmappable);
    removeSessionBlock(name);
}

TEST(SharedBlock, DefaultNameCarriesTheAccount) {
    EXPECT_EQ(defaultSessionBlockName(), "KOVANUSERSHARE." + QString::number(::geteuid()));
}

TEST(SharedBlock, CheckTable) {
    const uid_t self = 1000;
    const struct {
        mode_t mode;
        uid_t owner;
        off_t size;
        const char* problem;
    } cases[] = {
        {S_IFREG | 0600, self, 4096, ""},
        {S_IFREG | 0400, self, 4096, ""},
        {S_IFREG | 0644, self, 4096, ""},
        {S_IFREG | 0600, self, kMaxSessionBlockBytes, ""},
        {S_IFREG | 0666, self, 4096, "writable by group or others (mode 0666)"},
        {S_IFREG | 0620, self, 4096, "writable by group or others (mode 0620)"},
        {S_IFREG | 0602, self, 4096, "writable by group or others (mode 0602)"},
        {S_IFREG | 0600, 1001, 4096, "owned by uid 1001"},
        {S_IFREG | 0600, self, kMaxSessionBlockBytes + 1, "larger than 1048576 bytes"},
        {S_IFIFO | 0600, self, 0, "not a shared-memory object"},
        {S_IFDIR | 0700, self, 4096, "not a shared-memory object"},
        {S_IFLNK | 0777, self, 4, "not a shared-memory object"},
    };
    for (const auto& c : cases) {
        struct stat st {};
        st.st_mode = c.mode;
        st.st_uid = c.owner;
        st.st_size = c.size;
        EXPECT_EQ(checkPrivateSharedObject(st, self), QString(c.problem))
            << std::oct << c.mode << std::dec << " uid " << c.owner << " size " << c.size;
    }
}

TEST(SharedBlock, ABlockOfAnotherAccountIsRefusedAndNeverWrittenInto) {
    std::string whyNot;
    const std::optional<OtherAccount> other = OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    const QString name = uniqueName("KVNOTHERS");
    const QString theirs = R"({"UID":77,"sessid":"theirs"})";
    ASSERT_TRUE(publishSessionBlock(name, theirs));
    ASSERT_TRUE(other->giveSharedObject(name));
    const QString owner = QStringLiteral("owned by uid %1").arg(other->uid);

    const SessionBlockRead read = readSessionBlock(name);
    EXPECT_EQ(read.status, SessionBlockRead::Status::Refused);
    EXPECT_EQ(read.problem, owner);
    QString problem;
    EXPECT_FALSE(publishSessionBlock(name, R"({"UID":12,"sessid":"mine"})", &problem));
    EXPECT_EQ(problem, QStringLiteral("the block belongs to uid %1").arg(other->uid));
    // Still theirs, with their text (read past the check, as its owner would).
    EXPECT_EQ(test::ownerOf(shmPath(name)), qint64(other->uid));
    QFile block(shmPath(name));
    ASSERT_TRUE(block.open(QIODevice::ReadOnly));
    EXPECT_TRUE(block.read(theirs.size() * 2) ==
                QByteArray(reinterpret_cast<const char*>(theirs.utf16()), theirs.size() * 2));
    removeSessionBlock(name);
}

TEST(SharedBlock, PublishingMakesANewBlockOfItsOwn0600) {
    // Whatever the umask; and a block of the publisher's own that others could write is not
    // written into but replaced, so an old opening of it never sees the new session.
    const QString name = uniqueName("KVNPUBLISH");
    const mode_t oldMask = ::umask(0);
    ASSERT_TRUE(plantBlock(name, R"({"UID":1,"sessid":"old"})", 0666));
    const int old = ::shm_open(("/" + name.toUtf8()).constData(), O_RDONLY, 0);
    ASSERT_GE(old, 0);
    ASSERT_TRUE(publishSessionBlock(name, R"({"UID":12,"sessid":"new"})"));
    ::umask(oldMask);
    EXPECT_EQ(test::modeOf(shmPath(name)), 0600);
    EXPECT_EQ(readSessionBlock(name).text, R"({"UID":12,"sessid":"new"})");
    struct stat before {
    }, now{};
    ASSERT_EQ(::fstat(old, &before), 0);
    ASSERT_EQ(::stat(QFile::encodeName(shmPath(name)).constData(), &now), 0);
    EXPECT_NE(before.st_ino, now.st_ino);
    ::close(old);
    removeSessionBlock(name);
}

TEST(Companion, PublishesUnderTheAccountsDefaultNameAndRefusesAnotherAccountsBlock) {
    std::string whyNot;
    const std::optional<OtherAccount> other = OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    // The build tree may sit where other accounts cannot enter: the account runs a copy.
    QTemporaryDir bin;
    const QString program = bin.filePath("kovan-companion");
    ASSERT_TRUE(QFile::copy(KOVAN_BIN_DIR "/kovan-companion", program));
    ASSERT_TRUE(QFile::setPermissions(bin.path(), QFile::permissions(bin.path()) | QFile::ExeOther |
                                                      QFile::ReadOther));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("KOVAN_COMPANION_BLOCK");
    const auto runCompanion = [&](const QStringList& args, const OtherAccount* as) {
        QProcess companion;
        companion.setProcessEnvironment(env);
        if (as)
            companion.setChildProcessModifier([as] { as->become(); });
        companion.start(program, args);
        companion.waitForFinished(10000);
        return std::make_pair(companion.exitCode(), companion.readAllStandardError());
    };

    // As the second account, with no --block: its own default name, 0600.
    const QString theirDefault = QStringLiteral("KOVANUSERSHARE.%1").arg(other->uid);
    removeSessionBlock(theirDefault);
    EXPECT_EQ(runCompanion({"--once"}, &*other).first, 0);
    EXPECT_EQ(test::ownerOf(shmPath(theirDefault)), qint64(other->uid));
    EXPECT_EQ(test::modeOf(shmPath(theirDefault)), 0600);

    // That block, as seen by this account's companion: not written into, a message, status 1.
    const auto [code, message] = runCompanion({"--block", theirDefault, "--once"}, nullptr);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(message.contains("belongs to uid " + QByteArray::number(other->uid)))
        << message.toStdString();
    EXPECT_EQ(test::ownerOf(shmPath(theirDefault)), qint64(other->uid));
    removeSessionBlock(theirDefault);
}
