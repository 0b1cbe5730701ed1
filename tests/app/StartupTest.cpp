// Start-up branches, shutdown and the close message, seen from outside: the real client
// binary runs in a temporary program folder with a fake companion.

#include "ClientRun.h"

#include "core/KovanVersion.h"
#include "core/SharedBlock.h"
#include "core/Utils.h"

#include "Files.h"
#include "OtherAccount.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;

namespace {

QString blockName(const char* test) {
    return QString("KVNSTART-%1-%2").arg(test).arg(::getpid());
}

// Waits for the detached companion to have written its log line.
QStringList waitForCompanionLog(const ProgramFolder& folder) {
    // A bound, not a figure: a busy machine may take a while to start the companion.
    for (int i = 0; i < 1500 && folder.companionLog().isEmpty(); ++i)
        QThread::msleep(20);
    return folder.companionLog();
}

const QStringList kFolders{"cache", "logs", "sound", "screenshots", "resource"};

bool anyFolderCreated(const ProgramFolder& folder) {
    for (const QString& f : kFolders)
        if (QFileInfo(folder.file(f)).isDir())
            return true;
    return false;
}

class Startup : public ::testing::Test {
protected:
    void TearDown() override {
        killAll("zrs");
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
    }
    void publish(const QString& text) { ASSERT_TRUE(publishSessionBlock(m_block, text)); }

    QString m_block = blockName(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ProgramFolder m_folder;
};

} // namespace

TEST_F(Startup, NoSessionBlockStartsCompanionAndEnds) {
    m_folder.installScriptCompanion();
    ClientRun client(m_folder, m_block);
    client.start();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_EQ(waitForCompanionLog(m_folder),
              QStringList{"1|" + QDir(m_folder.path()).absolutePath()});
    EXPECT_FALSE(anyFolderCreated(m_folder));
    EXPECT_FALSE(client.traceText().contains("start-up done"));
}

TEST_F(Startup, UnusableSessionStartsCompanionAndEnds) {
    const QString blocks[] = {
        R"({"UID":0,"sessid":"abc"})",
        R"({"UID":12,"sessid":""})",
        R"({"UID":-3,"sessid":"abc"})",
        R"({"sessid":"abc"})",
        "not json at all",
        // Ids no address can carry: a line break, "..", past 1,024 characters.
        R"({"UID":12,"sessid":"a\nb"})",
        R"({"UID":12,"sessid":".."})",
        QStringLiteral(R"({"UID":12,"sessid":"%1"})").arg(QString(1025, u's')),
    };
    for (const QString& text : blocks) {
        SCOPED_TRACE(text.left(80).toStdString());
        ProgramFolder folder;
        folder.installScriptCompanion();
        publish(text);
        ClientRun client(folder, m_block);
        client.start();
        ASSERT_TRUE(client.waitForExit());
        EXPECT_EQ(client.exitCode(), 0);
        EXPECT_TRUE(client.traceText().contains("kovan: no usable session"));
        EXPECT_TRUE(client.traceText().contains("kovan: ended after creating windows"));
        EXPECT_EQ(waitForCompanionLog(folder).value(0).section('|', 0, 0), "1");
        EXPECT_FALSE(anyFolderCreated(folder));
        killAll("zrs");
    }
}

TEST_F(Startup, CompanionUpdateWithDifferentVersionsReplacesAndEnds) {
    // The current companion is a script (no version); the staged one is the stand-in with a
    // version note. Versions differ: the staged copy moves into place and is started.
    m_folder.installScriptCompanion();
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("cache"));
    ASSERT_TRUE(QFile::copy(KOVAN_BIN_DIR "/kovan-companion", m_folder.file("cache/zrs")));
    const QString version = getFileVersion(m_folder.file("cache/zrs"));
    ASSERT_FALSE(version.isEmpty());
    publish(R"({"UID":12,"sessid":"abc"})");

    ClientRun client(m_folder, m_block);
    client.start();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_TRUE(client.traceText().contains("kovan: companion update"));
    EXPECT_FALSE(QFile::exists(m_folder.file("cache/zrs")));
    EXPECT_EQ(getFileVersion(m_folder.file("zrs")), version);
    // The new companion runs and publishes into its block.
    bool published = false;
    for (int i = 0; i < 250 && !published; ++i) {
        published = readSessionBlock(m_block + "-companion").status == SessionBlockRead::Status::Ok;
        if (!published)
            QThread::msleep(20);
    }
    EXPECT_TRUE(published);
    // No further start-up: the folders were not made.
    EXPECT_FALSE(QFileInfo(m_folder.file("logs")).isDir());
}

TEST_F(Startup, ValidSessionRunsThenSigtermEndsCleanly) {
    // Equal companion versions: no update. A running companion is ended after the session
    // has been read. config.dat is loaded and left as it was.
    ASSERT_TRUE(QFile::copy(KOVAN_BIN_DIR "/kovan-companion", m_folder.file("zrs")));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("cache"));
    ASSERT_TRUE(QFile::copy(KOVAN_BIN_DIR "/kovan-companion", m_folder.file("cache/zrs")));
    const QByteArray config = "LocalAlert=1\r\nlocalaudio=/nowhere.wav\r\nAUTHINFO=zz\r\n";
    m_folder.writeFile("config.dat", config);
    const QDateTime configTime = QFileInfo(m_folder.file("config.dat")).lastModified();

    QProcess running;
    running.start(m_folder.file("zrs"), {"--block", m_block + "-running"});
    ASSERT_TRUE(running.waitForStarted());
    ASSERT_TRUE(running.waitForReadyRead(5000));
    EXPECT_EQ(countProcesses("zrs"), 1);

    publish(R"({"UID":12,"sessid":"abc"})");
    ClientRun client(m_folder, m_block);
    client.start();
    // AUTHINFO "zz" is not hexadecimal: the last step (automatic login) fails, the error is
    // dropped by the handler and the client runs on.
    ASSERT_TRUE(client.waitForTrace("error dropped (kovan::TMainForm): 错误,非法的类型转换 "))
        << client.traceText().toStdString();
    EXPECT_TRUE(running.waitForFinished(5000)); // ended by the client
    for (const QString& f : kFolders)
        EXPECT_TRUE(QFileInfo(m_folder.file(f)).isDir()) << f.toStdString();
    EXPECT_TRUE(QFile::exists(m_folder.file("cache/zrs")));
    EXPECT_EQ(m_folder.readFile("config.dat"), config);
    EXPECT_EQ(QFileInfo(m_folder.file("config.dat")).lastModified(), configTime);
    EXPECT_TRUE(InstanceMarker::exists());

    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_TRUE(client.traceText().contains("kovan: exit procedure"));
    // The last client to end removes the marker (another client on this machine keeps it).
    if (countProcesses("kovan") == 0) {
        EXPECT_FALSE(InstanceMarker::exists());
    }
    removeSessionBlock(m_block + "-running");
}

TEST_F(Startup, FolderThatCannotBeCreatedSkipsTheRestAndRunsOn) {
    // "logs" exists as a plain file: creating the folder fails, the error is dropped, the
    // remaining steps are skipped (no tray icon, no settings) and the client keeps running.
    m_folder.writeFile("logs", "not a folder");
    publish(R"({"UID":12,"sessid":"abc"})");
    ClientRun client(m_folder, m_block);
    client.start();
    ASSERT_TRUE(client.waitForTrace("error dropped (kovan::TMainForm): 错误,文件不能打开 "))
        << client.traceText().toStdString();
    EXPECT_TRUE(QFileInfo(m_folder.file("cache")).isDir());
    EXPECT_FALSE(QFileInfo(m_folder.file("sound")).exists());
    QThread::msleep(300);
    EXPECT_FALSE(client.traceText().contains("start-up done"));
    EXPECT_FALSE(client.traceText().contains("tray icon added"));
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
}

TEST_F(Startup, CloseMessageRemovesTrayIconOnly) {
    publish(R"({"UID":12,"sessid":"abc"})");
    QTemporaryDir runtime; // the user's runtime folder, 0700
    ClientRun client(m_folder, m_block);
    client.useRuntimeFolder(runtime.path());
    client.start();
    ASSERT_TRUE(client.waitForTrace("start-up done"));
    ASSERT_TRUE(client.traceText().contains("kovan: tray icon added"));
    // The socket is there, the user's alone; nothing of the client's in /tmp.
    const QString socket = runtime.path() + "/wm_closecoear";
    EXPECT_EQ(test::modeOf(socket) & 077, 0);
    EXPECT_EQ(test::ownerOf(socket), qint64(::geteuid()));

    QLocalSocket peer;
    peer.connectToServer(socket);
    ASSERT_TRUE(peer.waitForConnected(5000));
    peer.write("wm_closecoear\n");
    peer.flush();
    EXPECT_TRUE(client.waitForTrace("tray icon removed", 10000));
    peer.disconnectFromServer();

    // Still running: nothing else happened.
    QThread::msleep(300);
    EXPECT_FALSE(client.traceText().contains("exit procedure"));
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_EQ(client.traceText().count("tray icon removed"), 1);
}

TEST_F(Startup, CloseMessageSocketOfAKilledClientIsReplacedARunningOnesKept) {
    QTemporaryDir runtime;
    const QString socket = runtime.path() + "/wm_closecoear";
    const auto sendCloseMessage = [&socket] {
        QLocalSocket peer;
        peer.connectToServer(socket);
        if (!peer.waitForConnected(5000))
            return false;
        peer.write("wm_closecoear\n");
        peer.flush();
        peer.waitForBytesWritten(5000);
        return true;
    };
    publish(R"({"UID":12,"sessid":"abc"})");
    ProgramFolder firstFolder, secondFolder;
    ClientRun first(firstFolder, m_block);
    first.useRuntimeFolder(runtime.path());
    first.start();
    ASSERT_TRUE(first.waitForTrace("start-up done")) << first.traceText().toStdString();

    // A second client of the same user leaves the running one's socket alone.
    ClientRun second(secondFolder, m_block);
    second.useRuntimeFolder(runtime.path());
    second.start();
    ASSERT_TRUE(second.waitForTrace("start-up done")) << second.traceText().toStdString();
    EXPECT_TRUE(second.traceText().contains("kovan: close message: cannot listen: " + socket +
                                            ": in use by a running program\n"))
        << second.traceText().toStdString();
    ASSERT_TRUE(sendCloseMessage());
    EXPECT_TRUE(first.waitForTrace("tray icon removed", 10000));
    EXPECT_TRUE(second.endRun());

    // Killed, the first leaves its socket behind; the next client replaces it.
    ::kill(pid_t(first.pid()), SIGKILL);
    ASSERT_TRUE(first.waitForExit());
    ASSERT_TRUE(QFileInfo::exists(socket));
    publish(R"({"UID":12,"sessid":"abc"})"); // the second's end took the block away
    ProgramFolder thirdFolder;
    ClientRun third(thirdFolder, m_block);
    third.useRuntimeFolder(runtime.path());
    third.start();
    ASSERT_TRUE(third.waitForTrace("start-up done")) << third.traceText().toStdString();
    EXPECT_FALSE(third.traceText().contains("close message: cannot listen"));
    ASSERT_TRUE(sendCloseMessage());
    EXPECT_TRUE(third.waitForTrace("tray icon removed", 10000));
    EXPECT_TRUE(third.endRun());
    EXPECT_EQ(third.exitCode(), 0);
}

TEST_F(Startup, BadSessionBlocksStartTheCompanionAndEndWithTheReason) {
    // Blocks another account could have planted or may write: their session is not taken.
    // Each ends like a block without a usable session, the log says why (never the text), and
    // nothing is written anywhere, the target of a link included.
    std::string whyNot;
    const std::optional<test::OtherAccount> other = test::OtherAccount::find(&whyNot);
    const QString session = R"({"UID":12,"sessid":"planted-s1"})";
    const QString shm = "/dev/shm/" + m_block;
    const QString target = m_block + "-target";
    const auto withMode = [&](mode_t mode) {
        return [=, this] {
            publish(session);
            return ::chmod(QFile::encodeName(shm), mode) == 0;
        };
    };
    const struct {
        const char* what;
        std::function<bool()> plant;
        QString reason;
    } cases[] = {
        {"writable by all", withMode(0666), "writable by group or others (mode 0666)"},
        {"writable by the group", withMode(0660), "writable by group or others (mode 0660)"},
        {"too large",
         [&] {
             publish(session);
             return ::truncate(QFile::encodeName(shm), 4 << 20) == 0;
         },
         "larger than 1048576 bytes"},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(shm), 0600) == 0; },
         "not a shared-memory object"},
        {"a folder", [&] { return ::mkdir(QFile::encodeName(shm), 0700) == 0; },
         "not a shared-memory object"},
        {"a link",
         [&] {
             return publishSessionBlock(target, session) && QFile::link("/dev/shm/" + target, shm);
         },
         "a link"},
        {"another account's",
         [&] {
             publish(session);
             return other && other->giveSharedObject(m_block);
         },
         other ? QStringLiteral("owned by uid %1").arg(other->uid) : QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.reason.isEmpty()) {
            std::printf("[  SKIPPED ] the case \"%s\": %s\n", c.what, whyNot.c_str());
            continue;
        }
        ProgramFolder folder;
        folder.installScriptCompanion();
        ASSERT_TRUE(c.plant());
        ClientRun client(folder, m_block);
        client.start();
        ASSERT_TRUE(client.waitForExit());
        EXPECT_EQ(client.exitCode(), 0);
        EXPECT_TRUE(client.traceText().contains("kovan: session block refused: " + c.reason + "\n"))
            << client.traceText().toStdString();
        EXPECT_TRUE(client.traceText().contains("kovan: ended after creating windows"));
        EXPECT_FALSE(client.traceText().contains("planted-s1"));
        EXPECT_EQ(waitForCompanionLog(folder).value(0).section('|', 0, 0), "1");
        EXPECT_FALSE(anyFolderCreated(folder));
        killAll("zrs");
        if (QFileInfo(shm).isDir() && !QFileInfo(shm).isSymLink())
            ::rmdir(QFile::encodeName(shm));
        removeSessionBlock(m_block);
    }
    // The link's target is as it was planted.
    EXPECT_EQ(readSessionBlock(target).text, session);
    removeSessionBlock(target);
}

TEST_F(Startup, AProgramFolderOfAnotherAccountEndsWithStatus2) {
    std::string whyNot;
    const std::optional<test::OtherAccount> other = test::OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    m_folder.installScriptCompanion();
    m_folder.writeFile("config.dat", "AUTHINFO=0A1B\r\n");
    ASSERT_TRUE(other->give(m_folder.path()));
    publish(R"({"UID":12,"sessid":"abc"})");
    ClientRun client(m_folder, m_block);
    client.start();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 2);
    EXPECT_TRUE(client.traceText().contains(
        QStringLiteral("kovan: the program folder %1 belongs to another account (uid %2)")
            .arg(m_folder.path())
            .arg(other->uid)))
        << client.traceText().toStdString();
    // It said so before anything else: no session taken, no companion, no folder, no log.
    EXPECT_FALSE(client.traceText().contains("kovan: kovan "));
    QThread::msleep(200);
    EXPECT_TRUE(m_folder.companionLog().isEmpty());
    EXPECT_FALSE(anyFolderCreated(m_folder));
    EXPECT_EQ(m_folder.readFile("config.dat"), "AUTHINFO=0A1B\r\n");
    ASSERT_TRUE(::chown(QFile::encodeName(m_folder.path()), ::geteuid(), ::getegid()) == 0);
}

TEST_F(Startup, LogFileHoldsEventsAndDroppedErrorsButNoSecrets) {
    // AUTHINFO that is not hexadecimal: the automatic login fails and the handler drops the
    // error. The log gets the event, never the remembered login or the session id.
    const QByteArray authInfo = "zzSECRETzz0123";
    m_folder.writeFile("config.dat", "AUTHINFO=" + authInfo + "\r\n");
    publish(R"({"UID":12,"sessid":"sessSECRET42"})");
    ClientRun client(m_folder, m_block);
    client.start();
    ASSERT_TRUE(client.waitForTrace("error dropped (kovan::TMainForm): 错误,非法的类型转换 "))
        << client.traceText().toStdString();
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);

    const QByteArray log = m_folder.clientLog();
    const QRegularExpression line(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \S)");
    for (const QByteArray& l : log.split('\n')) {
        if (!l.isEmpty()) {
            EXPECT_TRUE(line.match(QString::fromUtf8(l)).hasMatch()) << l.toStdString();
        }
    }
    // The failed login was the last start-up step: no "start-up done".
    for (const char* event :
         {" tray icon added\n", " error dropped (kovan::TMainForm): 错误,非法的类型转换 \n",
          " exit procedure\n", " process ends\n"})
        EXPECT_TRUE(log.contains(event)) << event << "\n" << log.toStdString();
    EXPECT_FALSE(log.contains(authInfo)) << log.toStdString();
    EXPECT_FALSE(log.contains("sessSECRET42")) << log.toStdString();
}

TEST_F(Startup, WithoutTraceTheUserSeesNothingButTheLogIsWritten) {
    publish(R"({"UID":12,"sessid":"abc"})");
    ClientRun client(m_folder, m_block);
    client.withoutTrace();
    client.start();
    bool started = false;
    for (int i = 0; i < 600 && !started; ++i) {
        started = m_folder.clientLog().contains(" start-up done\n");
        if (!started)
            QThread::msleep(50);
    }
    ASSERT_TRUE(started) << m_folder.clientLog().toStdString();
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
    EXPECT_FALSE(client.traceText().contains("kovan: ")) << client.traceText().toStdString();
    EXPECT_TRUE(m_folder.clientLog().contains(" process ends\n"));
}

TEST(CommandLineRun, VersionPrintsTheProjectVersion) {
    QProcess version;
    version.start(KOVAN_BIN_DIR "/kovan", {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.readAllStandardOutput(), "kovan " KOVAN_VERSION "\n");
    EXPECT_EQ(version.readAllStandardError(), "");
}

TEST(CommandLineRun, UnknownOptionExitsWithStatus2AndHelpPrintsUsage) {
    QProcess bad;
    bad.start(KOVAN_BIN_DIR "/kovan", {"--no-such-option"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--no-such-option"));
    QProcess help;
    help.start(KOVAN_BIN_DIR "/kovan", {"--help"});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray usage = help.readAllStandardOutput();
    EXPECT_TRUE(usage.contains("--session-block"));
    EXPECT_TRUE(usage.startsWith("kovan " KOVAN_VERSION "\n")) << usage.toStdString();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
