#include "core/SessionBusAddress.h"

#include "ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kovan;
using kovan::test::ScopedEnvironment;

namespace {

// A listening-free unix socket file at `path`, as dbus-daemon leaves one.
bool makeSocketFile(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

} // namespace

TEST(SessionBusAddress, TheGivenAddressThenTheRuntimeFoldersSocketNeverAGuess) {
    QTemporaryDir withSocket, withFile, withFolder, empty;
    ASSERT_TRUE(makeSocketFile(withSocket.filePath("bus")));
    QFile file(withFile.filePath("bus"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(withFolder.path()).mkdir("bus"));

    const struct {
        const char* name;
        QByteArray busAddress; // null: unset
        QByteArray runtimeDir; // null: unset
        QString expected;
    } cases[] = {
        {"given wins", "unix:path=/run/x/bus", withSocket.path().toLocal8Bit(),
         "unix:path=/run/x/bus"},
        {"runtime socket", QByteArray(), withSocket.path().toLocal8Bit(),
         "unix:path=" + withSocket.filePath("bus")},
        {"empty given counts as unset", "", withSocket.path().toLocal8Bit(),
         "unix:path=" + withSocket.filePath("bus")},
        {"a plain file is no bus", QByteArray(), withFile.path().toLocal8Bit(), QString()},
        {"a folder is no bus", QByteArray(), withFolder.path().toLocal8Bit(), QString()},
        {"nothing there", QByteArray(), empty.path().toLocal8Bit(), QString()},
        {"no runtime folder", QByteArray(), QByteArray(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedEnvironment bus("DBUS_SESSION_BUS_ADDRESS", c.busAddress);
        const ScopedEnvironment runtime("XDG_RUNTIME_DIR", c.runtimeDir);
        EXPECT_EQ(sessionBusAddress(), c.expected);
    }
}
