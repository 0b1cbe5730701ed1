#include "core/Processes.h"
#include "core/SharedBlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovan;

namespace {

QString uniqueName(const char* stem) {
    return QString::fromLatin1(stem) + QString::number(::getpid());
}

bool alive(pid_t pid) {
    // Reap it when it has ended, so a zombie does not count as running.
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid)
        return false;
    return ::kill(pid, 0) == 0;
}

} // namespace

TEST(Processes, KillsByExecutableNameCaseInsensitively) {
    QTemporaryDir dir;
    const QString name = uniqueName("kvnsleep");
    const QString exe = dir.filePath(name);
    ASSERT_TRUE(QFile::copy("/bin/sleep", exe));
    QFile::setPermissions(exe, QFile::permissions("/bin/sleep"));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(QFile::encodeName(exe).constData(), "x", "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Wait until the child has exec'ed (its exe link names the copy).
    for (int i = 0; i < 200; ++i) {
        if (QFile::symLinkTarget(QString("/proc/%1/exe").arg(child)) == exe)
            break;
        QThread::msleep(10);
    }
    EXPECT_FALSE(killProcessesByName("/elsewhere/not-" + name));
    EXPECT_TRUE(alive(child));
    // Upper-case file-name part of a path in another folder matches.
    EXPECT_TRUE(killProcessesByName("/some/other/folder/" + name.toUpper()));
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = !alive(child);
        if (!ended)
            QThread::msleep(10);
    }
    EXPECT_TRUE(ended);
    if (!ended)
        ::kill(child, SIGKILL);
}

TEST(Processes, ShellMoveFileReplacesTarget) {
    QTemporaryDir dir;
    QFile a(dir.filePath("a")), b(dir.filePath("b"));
    a.open(QIODevice::WriteOnly);
    a.write("new");
    a.close();
    b.open(QIODevice::WriteOnly);
    b.write("old");
    b.close();
    EXPECT_TRUE(shellMoveFile(a.fileName(), b.fileName()));
    EXPECT_FALSE(QFile::exists(a.fileName()));
    b.open(QIODevice::ReadOnly);
    EXPECT_EQ(b.readAll(), "new");
}

TEST(InstanceMarker, LastHolderRemovesIt) {
    // Other test processes may hold the marker too; only check the object is there while held
    // and that a second holder keeps it alive after the first lets go.
    auto first = std::make_unique<InstanceMarker>();
    ASSERT_TRUE(first->isHeld());
    EXPECT_TRUE(InstanceMarker::exists());
    auto second = std::make_unique<InstanceMarker>();
    ASSERT_TRUE(second->isHeld());
    first.reset();
    EXPECT_TRUE(InstanceMarker::exists());
    second.reset();
}
