// Where the local sockets live (the user's runtime folder) and what may be replaced at a
// socket's path.

#include "core/LocalSockets.h"

#include "Files.h"
#include "OtherAccount.h"
#include "ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::modeOf;
using kovan::test::OtherAccount;

namespace {

// A socket bound at `path`; listening or, like one a killed client left behind, not.
int boundSocket(const QString& path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        (listening && ::listen(fd, 4) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool makeFolderWithMode(const QString& path, mode_t mode) {
    return ::mkdir(QFile::encodeName(path).constData(), mode) == 0 &&
           ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

TEST(RuntimeFolder, TheEnvironmentsWhenPrivateOtherwiseAFolderOfItsOwn) {
    QTemporaryDir dir;
    const QString xdg = dir.filePath("xdg");
    ASSERT_TRUE(makeFolderWithMode(xdg, 0700));
    const QString openXdg = dir.filePath("open-xdg");
    ASSERT_TRUE(makeFolderWithMode(openXdg, 0755));
    const QString xdgLink = dir.filePath("xdg-link");
    ASSERT_TRUE(QFile::link(xdg, xdgLink));
    const QString own = dir.filePath("own");
    const QString openOwn = dir.filePath("open-own");
    ASSERT_TRUE(makeFolderWithMode(openOwn, 0777));
    const QString plainOwn = dir.filePath("plain-own");
    QFile(plainOwn).open(QIODevice::WriteOnly);

    const struct {
        QString xdgRuntimeDir;
        QString ownFolder;
        QString path; // empty: none
        QString problem;
    } cases[] = {
        {xdg, own, xdg, ""},
        {xdg + "/", own, xdg, ""},
        {"", own, own, ""},
        {"relative/xdg", own, own, ""},
        {openXdg, own, own, ""},
        {xdgLink, own, own, ""},
        {dir.filePath("missing-xdg"), own, own, ""},
        {"", openOwn, "", openOwn + ": open to group or others (mode 0777)"},
        {"", plainOwn, "", plainOwn + ": not a folder"},
    };
    for (const auto& c : cases) {
        const RuntimeFolder chosen = chooseRuntimeFolder(c.xdgRuntimeDir, c.ownFolder);
        EXPECT_EQ(chosen.path, c.path) << c.xdgRuntimeDir.toStdString();
        EXPECT_EQ(chosen.problem, c.problem) << c.xdgRuntimeDir.toStdString();
    }
    // The folder of its own was made private, and neither bad folder was changed.
    EXPECT_EQ(modeOf(own), 0700);
    EXPECT_EQ(modeOf(openXdg), 0755);
    EXPECT_EQ(modeOf(openOwn), 0777);
}

TEST(LocalSocketPath, ANameInTheRuntimeFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const test::ScopedEnvironment runtime("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    QString problem = "untouched";
    EXPECT_EQ(localSocketPath("wm_closecoear", &problem), dir.path() + "/wm_closecoear");
    EXPECT_EQ(problem, "");
    // A socket address holds 107 bytes.
    const QString longName(120, u'x');
    EXPECT_EQ(localSocketPath(longName, &problem), "");
    EXPECT_TRUE(problem.endsWith(": too long for a socket address")) << problem.toStdString();
}

TEST(ClaimSocketPath, OnlyAStaleSocketOfTheCallersIsReplaced) {
    QTemporaryDir dir;
    const QString stale = dir.filePath("stale");
    const int staleFd = boundSocket(stale, false);
    ASSERT_GE(staleFd, 0);
    ::close(staleFd); // the socket file stays, nobody listens: a killed client's
    const QString live = dir.filePath("live");
    const int liveFd = boundSocket(live, true);
    ASSERT_GE(liveFd, 0);
    const QString plain = dir.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(live, link));
    const QString staleLink = dir.filePath("stale-link");
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), staleLink));
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));

    const struct {
        QString path;
        const char* problem;
        bool remains;
    } cases[] = {
        {dir.filePath("nothing"), "", false},
        {stale, "", false},
        {live, "in use by a running program", true},
        {plain, "not a socket", true},
        {link, "a link", true},
        {staleLink, "a link", true},
        {folder, "not a socket", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(claimSocketPath(c.path), QString(c.problem)) << c.path.toStdString();
        EXPECT_EQ(QFileInfo(c.path).exists() || QFileInfo(c.path).isSymLink(), c.remains)
            << c.path.toStdString();
    }
    ::close(liveFd);
}

TEST(ClaimSocketPath, AnotherAccountsSocketStays) {
    std::string whyNot;
    const std::optional<OtherAccount> other = OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    QTemporaryDir dir;
    const QString theirs = dir.filePath("theirs");
    const int fd = boundSocket(theirs, false);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(other->give(theirs));
    EXPECT_EQ(claimSocketPath(theirs), QStringLiteral("owned by uid %1").arg(other->uid));
    EXPECT_TRUE(QFileInfo::exists(theirs));
}

TEST(LocalPeer, TheAccountAtTheOtherEnd) {
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_EQ(localPeerUid(pair[0]), ::geteuid());
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_EQ(localPeerUid(-1), std::nullopt);
}
