// The close message: which lines a peer may write, a peer's line reaching the listener, and
// the socket in the user's runtime folder that replaces only what a killed client left behind.

#include "ScopedEnvironment.h"
#include "WaitUntil.h"

#include "core/LocalSockets.h"
#include "shell/CloseMessageListener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovan {
namespace {

using kovan::test::pumpFor;
using kovan::test::ScopedEnvironment;
using kovan::test::waitUntil;

// A runtime folder of the test's own (0700, as the user's is).
class RuntimeFolderForTest {
public:
    RuntimeFolderForTest() : m_env("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path())) {}
    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }

private:
    QTemporaryDir m_dir;
    ScopedEnvironment m_env;
};

// A socket file nobody listens on: what a client that was killed leaves behind.
bool leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

bool closeMessageReaches(const QString& path) {
    QLocalSocket peer;
    peer.connectToServer(path);
    if (!peer.waitForConnected(5000))
        return false;
    peer.write("wm_closecoear\n");
    return peer.waitForBytesWritten(5000);
}

TEST(ShellCloseMessageTest, OnlyTheExactLineCounts) {
    const struct {
        QByteArray line;
        bool close;
    } cases[] = {
        {"wm_closecoear\n", true},   {"wm_closecoear\r\n", true},   {"  wm_closecoear \t\n", true},
        {"WM_CLOSECOEAR\n", false},  {"wm_closecoear2\n", false},   {"xwm_closecoear\n", false},
        {"wm_close coear\n", false}, {"wm_closecoear wm\n", false}, {"\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CloseMessageListener::isCloseMessage(c.line), c.close) << c.line.constData();
}

TEST(ShellCloseMessageTest, EachCloseLineOfAPeerIsReported) {
    const RuntimeFolderForTest runtime;
    int reported = 0;
    CloseMessageListener listener([&reported] { ++reported; });
    listener.registerCloseMessage();
    listener.registerCloseMessage(); // once is enough
    ASSERT_TRUE(listener.listening());
    // In the runtime folder, where localSocketPath tells a peer to look; the user's alone.
    const QString path = runtime.path("wm_closecoear");
    EXPECT_EQ(localSocketPath("wm_closecoear"), path);
    EXPECT_EQ(QFileInfo(path).permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    // Nothing else is left in the folder.
    EXPECT_EQ(
        QDir(runtime.path(".")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
        QStringList{"wm_closecoear"});

    QLocalSocket peer;
    peer.connectToServer(path);
    ASSERT_TRUE(peer.waitForConnected(5000));
    peer.write("hello\nwm_closecoear\nwm_closecoearX\nwm_clo");
    peer.flush();
    ASSERT_TRUE(waitUntil([&] { return reported == 1; }));
    // The rest of a line split across writes still counts once it is whole.
    peer.write("secoear\n");
    peer.flush();
    ASSERT_TRUE(waitUntil([&] { return reported == 2; }));
    peer.disconnectFromServer();
    pumpFor(50);
    EXPECT_EQ(reported, 2);
}

TEST(ShellCloseMessageTest, OnlyASocketLeftBehindIsReplaced) {
    // Whatever else sits at the socket's path is left as it is and the client goes without
    // the close message; never a wait, never a file written elsewhere.
    const RuntimeFolderForTest runtime;
    const QString path = runtime.path("wm_closecoear");
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("target");
    const auto writeOneByte = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
    };
    const struct {
        const char* what;
        std::function<bool()> plant;
        bool listens;
        std::function<bool()> leftAsItWas; // not listening: what was planted is still there
    } cases[] = {
        {"nothing", [] { return true; }, true, {}},
        {"a socket left behind", [&] { return leaveStaleSocket(path); }, true, {}},
        {"a plain file", [&] { return writeOneByte(path); }, false,
         [&] { return QFileInfo(path).isFile() && QFileInfo(path).size() == 1; }},
        {"a link", [&] { return writeOneByte(target) && QFile::link(target, path); }, false,
         [&] { return QFileInfo(path).isSymLink() && QFileInfo(target).size() == 1; }},
        {"a folder", [&] { return QDir().mkdir(path); }, false,
         [&] { return QFileInfo(path).isDir() && QDir(path).isEmpty(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.plant());
        int reported = 0;
        {
            CloseMessageListener listener([&reported] { ++reported; });
            listener.registerCloseMessage();
            ASSERT_EQ(listener.listening(), c.listens);
            if (c.listens) {
                ASSERT_TRUE(closeMessageReaches(path));
                EXPECT_TRUE(waitUntil([&] { return reported == 1; }));
            } else {
                EXPECT_TRUE(c.leftAsItWas());
            }
        }
        QFile::remove(path);
        QDir().rmdir(path);
    }
}

TEST(ShellCloseMessageTest, ARunningListenersSocketIsNeverTakenOver) {
    const RuntimeFolderForTest runtime;
    int first = 0, second = 0;
    CloseMessageListener running([&first] { ++first; });
    running.registerCloseMessage();
    ASSERT_TRUE(running.listening());
    CloseMessageListener another([&second] { ++second; });
    another.registerCloseMessage();
    EXPECT_FALSE(another.listening());
    ASSERT_TRUE(closeMessageReaches(runtime.path("wm_closecoear")));
    EXPECT_TRUE(waitUntil([&] { return first == 1; }));
    pumpFor(50);
    EXPECT_EQ(second, 0);
}

} // namespace
} // namespace kovan
