// What a hostile or broken service must not do to the real client: keep it from ending, or run
// script in its pages through the session id. And the client as a normal account runs it: every
// page process in the web engine's sandbox, its close socket for that account alone.

#include "ClientRun.h"

#include "core/SharedBlock.h"

#include "Files.h"
#include "OtherAccount.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::OtherAccount;
using kovan::test::TestServer;

namespace {

class HardeningRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(publishSessionBlock(m_block, R"({"UID":12,"sessid":"S1"})"));
    }
    void TearDown() override {
        killAll("zrs");
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
    }
    static QStringList servers(int data, int pages) {
        return {"--data-server", "127.0.0.1:" + QString::number(data), "--page-server",
                "127.0.0.1:" + QString::number(pages)};
    }

    QString m_block = QString("KVNHARD-%1-%2")
                          .arg(::testing::UnitTest::GetInstance()->current_test_info()->name())
                          .arg(::getpid());
    ProgramFolder m_folder;
};

bool sawPath(const TestServer& server, const std::string& prefix) {
    for (const auto& r : server.seen())
        if (r.path.rfind(prefix, 0) == 0)
            return true;
    return false;
}

// The "Name:\tvalue" lines of /proc/PID/status.
QMap<QString, QString> processStatus(qint64 pid) {
    QMap<QString, QString> status;
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return status;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            status.insert(QString::fromLatin1(line.left(colon)),
                          QString::fromLatin1(line.mid(colon + 1)).simplified());
    }
    return status;
}

// The web engine's page processes of the client `root`: the QtWebEngineProcess descendants
// that an engine process forked and that have none of their own (the zygotes above them fork
// each page process, which keeps "--type=zygote" on its command line; a helper the client
// starts itself is its own child, not a page process).
QList<qint64> pageProcessesOf(qint64 root) {
    QMap<qint64, qint64> parentOf;
    QSet<qint64> engine;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        parentOf.insert(pid, processStatus(pid).value("PPid").toLongLong());
        if (QFileInfo(QFile::symLinkTarget("/proc/" + entry + "/exe")).fileName() ==
            "QtWebEngineProcess")
            engine.insert(pid);
    }
    const auto below = [&](qint64 pid) {
        for (qint64 up = parentOf.value(pid); up > 1; up = parentOf.value(up))
            if (up == root)
                return true;
        return false;
    };
    QList<qint64> pages;
    for (qint64 pid : engine) {
        bool hasEngineChild = false;
        for (qint64 other : engine)
            hasEngineChild = hasEngineChild || parentOf.value(other) == pid;
        if (below(pid) && engine.contains(parentOf.value(pid)) && !hasEngineChild)
            pages.append(pid);
    }
    return pages;
}

// "pid:[inode]", the PID namespace the process is in.
QString pidNamespaceOf(qint64 pid) {
    char target[64] = {};
    const QByteArray link = QStringLiteral("/proc/%1/ns/pid").arg(pid).toLatin1();
    const ssize_t n = ::readlink(link.constData(), target, sizeof(target) - 1);
    return n > 0 ? QString::fromLatin1(target, n) : QString();
}

// Writes the close message to the socket at `path`; for a child process (no allocation).
int writeCloseMessage(const char* path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof(address.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return 1;
    const char line[] = "wm_closecoear\n";
    const bool written = ::write(fd, line, sizeof(line) - 1) == ssize_t(sizeof(line) - 1);
    ::close(fd);
    return written ? 0 : 2;
}

// What the second account runs: a copy of the client and its libraries where it can read them
// (the build tree may sit in a folder other accounts cannot enter).
QString installForAccount(const QTemporaryDir& root) {
    const QString bin = root.path() + "/bin";
    const QString libs = root.path() + "/lib/kovan";
    QDir().mkpath(bin);
    QDir().mkpath(libs);
    QFile::copy(KOVAN_BIN_DIR "/kovan", bin + "/kovan");
    const QDir built(KOVAN_BIN_DIR "/../lib/kovan");
    for (const QString& lib : built.entryList({"*.so"}, QDir::Files))
        QFile::copy(built.filePath(lib), libs + "/" + lib);
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther;
    for (const QString& folder : {root.path(), root.path() + "/lib", bin, libs})
        QFile::setPermissions(folder, open);
    return bin + "/kovan";
}

} // namespace

TEST_F(HardeningRun, SigtermEndsTheClientWhileASyncRequestHangs) {
    // The data server takes the request and never answers (until the test ends): the exit must
    // not wait for the request's time-outs.
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    std::atomic<int> requests{0};
    TestServer data([&](const httplib::Request&, httplib::Response& res) {
        ++requests;
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        res.set_content("{}", "application/json");
    });
    ClientRun client(m_folder, m_block);
    client.start(servers(data.port(), 9));
    ASSERT_TRUE(client.waitForTrace("start-up done")) << client.traceText().toStdString();
    for (int i = 0; i < 500 && requests == 0; ++i)
        QThread::msleep(20);
    ASSERT_GE(requests, 1);
    QElapsedTimer t;
    t.start();
    client.terminate();
    // Well under the minute of the request's own time-outs: the exit cancels the request.
    ASSERT_TRUE(client.waitForExit(10000));
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(client.exitCode(), 0);
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
}

TEST_F(HardeningRun, ASessionIdFromTheServerNeverRunsAsScriptInThePages) {
    // The server hands out an id built to break out of reloadCheck('…'). The pages record
    // what reloadCheck received and whether the injected call ran, as requests to their
    // server.
    const std::string hostile = R"(x\');anything();//)";
    std::atomic<int> polls{0};
    TestServer data([&](const httplib::Request&, httplib::Response& res) {
        const int n = ++polls;
        const std::string sessid = n < 3 ? "S1" : hostile;
        std::string escaped;
        for (const char c : sessid) {
            if (c == '\\' || c == '"')
                escaped += '\\';
            escaped += c;
        }
        // The signal stamp moves on every reply, so the pages run reloadCheck(<sessid>).
        res.set_content(R"({"status":1,"sessid":")" + escaped + R"(","symbolinfo":{},"LUDsign":)" +
                            std::to_string(100 + n) + "}",
                        "application/json");
    });
    std::mutex m;
    std::vector<std::string> received; // what reloadCheck was given
    TestServer pages([&](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/rc") {
            std::lock_guard lock(m);
            received.push_back(req.get_param_value("x"));
        }
        res.set_content(R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
            <!-- QZEARVersion 2.1 --><script>
            function note(p) { new Image().src = p; }
            function anything() { note('/pwned'); }
            function reloadCheck(x) { note('/rc?x=' + encodeURIComponent(String(x))); }
            </script></body></html>)",
                        "text/html");
    });
    ClientRun client(m_folder, m_block);
    client.start(servers(data.port(), pages.port()));
    // reloadCheck gets the whole id as one string, and nothing else runs.
    const std::string unescaped = R"(x\');anything();//)";
    bool whole = false;
    for (int i = 0; i < 1000 && !whole; ++i) {
        std::lock_guard lock(m);
        for (const std::string& x : received)
            whole = whole || x == unescaped;
        if (!whole)
            QThread::msleep(20);
    }
    EXPECT_TRUE(whole) << client.traceText().toStdString();
    EXPECT_FALSE(sawPath(pages, "/pwned"));
    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
}

TEST_F(HardeningRun, AsANormalAccountEveryPageProcessIsSandboxedAndItAloneReachesItsSocket) {
    std::string whyNot;
    const std::optional<OtherAccount> other = OtherAccount::find(&whyNot);
    if (!other)
        GTEST_SKIP() << whyNot;
    if (!other->canSandbox(&whyNot))
        GTEST_SKIP() << whyNot;

    // The account's copy of the client, its program folder (0700), home and runtime folder.
    QTemporaryDir install, own;
    const QString program = installForAccount(install);
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    ASSERT_TRUE(
        QFile::setPermissions(own.path(), QFile::permissions(own.path()) | QFile::ExeOther));
    const QString home = own.path() + "/home", runtime = own.path() + "/run";
    for (const QString& folder : {home, runtime})
        ASSERT_TRUE(
            QDir().mkdir(folder) &&
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            other->give(folder));
    ASSERT_TRUE(other->give(m_folder.path()));
    ASSERT_TRUE(other->giveSharedObject(m_block));

    TestServer data([](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"status":0})", "application/json");
    });
    TestServer pages([](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
            <!-- QZEARVersion 2.1 --><script>new Image().src = '/ran';</script></body></html>)",
                        "text/html");
    });
    ClientRun client(m_folder, m_block);
    client.runAs(&*other, program, home);
    client.useRuntimeFolder(runtime);
    client.start(servers(data.port(), pages.port()));

    // The pages load and their script runs (each section's check runs in its page).
    for (const char* section : {"sign", "arts", "plan", "mkte", "rpae"})
        ASSERT_TRUE(client.waitForTrace(QStringLiteral("page checked: %1 2").arg(section), 60000))
            << client.traceText().toStdString();
    EXPECT_TRUE(sawPath(pages, "/ran"));

    // Every page process: the seccomp filter on (mode 2), a PID namespace of its own.
    const QList<qint64> pageProcesses = pageProcessesOf(client.pid());
    EXPECT_GE(pageProcesses.size(), 5);
    const QString clientNamespace = pidNamespaceOf(client.pid());
    const qsizetype clientLevels = processStatus(client.pid()).value("NSpid").split(' ').size();
    QSet<QString> namespaces;
    for (qint64 pid : pageProcesses) {
        const QMap<QString, QString> status = processStatus(pid);
        SCOPED_TRACE(QStringLiteral("page process %1").arg(pid).toStdString());
        EXPECT_EQ(status.value("Seccomp"), "2");
        EXPECT_GT(status.value("NSpid").split(' ').size(), clientLevels);
        EXPECT_EQ(status.value("Uid").section(' ', 0, 0), QString::number(other->uid));
        const QString ns = pidNamespaceOf(pid);
        EXPECT_TRUE(ns.startsWith("pid:[")) << ns.toStdString();
        EXPECT_NE(ns, clientNamespace);
        EXPECT_FALSE(namespaces.contains(ns));
        namespaces.insert(ns);
    }

    // The close socket: the account's alone. This process is another account (root passes
    // the file modes) and is turned away; the account's own peer removes the tray icon.
    ASSERT_TRUE(client.waitForTrace("start-up done")) << client.traceText().toStdString();
    const QString socket = runtime + "/wm_closecoear";
    EXPECT_EQ(test::ownerOf(socket), qint64(other->uid)) << client.traceText().toStdString();
    EXPECT_EQ(test::modeOf(socket) & 077, 0);
    {
        QLocalSocket stranger;
        stranger.connectToServer(socket);
        ASSERT_TRUE(stranger.waitForConnected(5000));
        stranger.write("wm_closecoear\n");
        stranger.waitForBytesWritten(5000);
        EXPECT_TRUE(
            client.waitForTrace("close message: peer of another account turned away (uid 0)"));
    }
    const QByteArray socketPath = QFile::encodeName(socket);
    EXPECT_EQ(other->run([&socketPath] { return writeCloseMessage(socketPath.constData()); }), 0);
    EXPECT_TRUE(client.waitForTrace("tray icon removed", 10000));
    EXPECT_EQ(client.traceText().count("tray icon removed"), 1);

    client.terminate();
    ASSERT_TRUE(client.waitForExit());
    EXPECT_EQ(client.exitCode(), 0);
    // What it made in its program folder (0700) is its own alone too.
    EXPECT_EQ(test::modeOf(m_folder.file("logs")), 0700);
    for (const QString& log : QDir(m_folder.file("logs")).entryList(QDir::Files))
        EXPECT_EQ(test::modeOf(m_folder.file("logs/" + log)), 0600) << log.toStdString();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
