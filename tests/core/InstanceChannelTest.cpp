// The channel's name for a program folder, the lines on it, the folder's lock file.

#include "core/InstanceChannel.h"
#include "core/FolderLock.h"
#include "core/HandOverRequest.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace kovan;

TEST(InstanceChannel, OneNamePerCanonicalFolder) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("client");
    ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
    ASSERT_TRUE(QFile::link(folder, dir.filePath("link")));
    const QString canonical = QDir(folder).canonicalPath();
    // Spellings of the same folder: trailing slash, "..", a link to it.
    for (const QString& spelling :
         {folder, folder + "/", folder + "/sub/..", dir.filePath("link") + "/"}) {
        SCOPED_TRACE(spelling.toStdString());
        EXPECT_EQ(instanceFolderKey(spelling), canonical);
    }
    const QString name = instanceChannelName(canonical);
    EXPECT_TRUE(name.startsWith("kovan-"));
    EXPECT_EQ(name.size(), 6 + 16);
    EXPECT_EQ(name.mid(6).count(QRegularExpression("[0-9a-f]")), 16);
    EXPECT_NE(instanceChannelName(dir.filePath("other")), name);
    EXPECT_EQ(instanceLockName(canonical), name + ".lock");
    // A folder not made yet keeps its cleaned absolute path.
    EXPECT_EQ(instanceFolderKey(dir.filePath("none/./x/")),
              QDir::cleanPath(dir.filePath("none/x")));
}

TEST(HandOverRequest, LinesBothWays) {
    using Kind = HandOverRequest::Kind;
    const struct {
        HandOverRequest request;
        QByteArray line;
    } cases[] = {
        {{Kind::Raise, {}}, "raise\n"},
        {{Kind::Raise, "openbox-1-host-kovan-0_TIME42"}, "raise openbox-1-host-kovan-0_TIME42\n"},
        {{Kind::Quit, {}}, "quit\n"},
        {{Kind::Hello, {}}, "hello\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(c.request.line(), c.line);
        const std::optional<HandOverRequest> back = HandOverRequest::parse(c.line);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->kind, c.request.kind);
        EXPECT_EQ(back->startupId, c.request.startupId);
    }
    // An id that could break the line travels as no id at all.
    EXPECT_EQ((HandOverRequest{Kind::Raise, "a b"}).line(), "raise\n");
    EXPECT_EQ((HandOverRequest{Kind::Raise, "a\nquit"}).line(), "raise\n");
    EXPECT_EQ((HandOverRequest{Kind::Raise, QByteArray(600, 'x')}).line(), "raise\n");
    for (const QByteArray& bad : {QByteArray("raise "), QByteArray("raise a b\n"),
                                  QByteArray("quit now\n"), QByteArray("QUIT\n"), QByteArray(""),
                                  QByteArray("raise \x01\n"), QByteArray("hello\n\n")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(HandOverRequest::parse(bad));
    }
}

TEST(FolderLock, OneHolderAtATimeAndItsPhase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kovan-x.lock");
    EXPECT_EQ(FolderLock::readPhase(path), FolderLock::Phase::Unknown);
    FolderLock first(path);
    ASSERT_TRUE(first.tryTake()) << first.problem().toStdString();
    EXPECT_TRUE(first.tryTake()); // held already
    EXPECT_EQ(FolderLock::readPhase(path), FolderLock::Phase::Starting);

    FolderLock second(path);
    EXPECT_FALSE(second.tryTake());
    EXPECT_TRUE(second.busy());
    EXPECT_FALSE(second.held());

    first.setPhase(FolderLock::Phase::Ending);
    EXPECT_EQ(FolderLock::readPhase(path), FolderLock::Phase::Ending);
    first.release();
    EXPECT_TRUE(second.tryTake());
    EXPECT_EQ(FolderLock::readPhase(path), FolderLock::Phase::Starting);
    EXPECT_FALSE(first.tryTake());
}

TEST(FolderLock, AnotherProcessSeesTheLockAndItGoesWithTheProcess) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kovan-y.lock");
    int toChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    int fromChild[2];
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Takes the lock, says so, waits to be told to end; ends without releasing it.
        FolderLock lock(path);
        const char taken = lock.tryTake() ? 'y' : 'n';
        (void)!::write(fromChild[1], &taken, 1);
        char go;
        (void)!::read(toChild[0], &go, 1);
        ::_exit(0);
    }
    char taken = 0;
    ASSERT_EQ(::read(fromChild[0], &taken, 1), 1);
    EXPECT_EQ(taken, 'y');
    FolderLock mine(path);
    EXPECT_FALSE(mine.tryTake());
    EXPECT_TRUE(mine.busy());
    EXPECT_EQ(FolderLock::readPhase(path), FolderLock::Phase::Starting);
    (void)!::write(toChild[1], "g", 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(mine.tryTake());
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        ::close(fd);
}

TEST(FolderLock, AFileThatCannotBeOpenedIsNotBusy) {
    QTemporaryDir dir;
    FolderLock lock(dir.filePath("missing-folder/kovan.lock"));
    EXPECT_FALSE(lock.tryTake());
    EXPECT_FALSE(lock.busy());
    EXPECT_FALSE(lock.problem().isEmpty());
    // A link is never followed.
    ASSERT_TRUE(QFile::link(dir.filePath("target"), dir.filePath("link.lock")));
    FolderLock linked(dir.filePath("link.lock"));
    EXPECT_FALSE(linked.tryTake());
    EXPECT_FALSE(linked.busy());
    EXPECT_FALSE(QFile::exists(dir.filePath("target")));
}
