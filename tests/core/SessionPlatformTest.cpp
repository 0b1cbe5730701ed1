// The platform the client asks for on X11 and Wayland sessions, and the probe of a local X
// server's socket.

#include "core/SessionPlatform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovan {
namespace {

struct PlatformCase {
    const char* name;
    const char* waylandDisplay;
    const char* sessionType;
    bool userChose;
    bool xReachable;
    const char* asked; // "" = Qt's own choice
};

void PrintTo(const PlatformCase& c, std::ostream* os) {
    *os << c.name;
}

const PlatformCase kCases[] = {
    {"X11SessionLeftAlone", "", "x11", false, true, ""},
    {"BareXServerLeftAlone", "", "", false, true, ""},
    {"WaylandDisplayWithXWayland", "wayland-0", "", false, true, "xcb"},
    {"WaylandSessionTypeWithXWayland", "", "wayland", false, true, "xcb"},
    {"SessionTypeInCapitals", "", "Wayland", false, true, "xcb"},
    {"WaylandWithoutXServerStaysNative", "wayland-0", "wayland", false, false, ""},
    {"UserChoiceWinsOverXWayland", "wayland-0", "wayland", true, true, ""},
    {"UserChoiceWinsWithoutX", "wayland-0", "", true, false, ""},
    {"NoSessionAtAll", "", "", false, false, ""},
    {"TtySessionWithX", "", "tty", false, true, ""},
};

class PlatformChoice : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(PlatformChoice, AsksForTheExpectedPlatform) {
    const PlatformCase& c = GetParam();
    SessionFacts f;
    f.waylandDisplay = QString::fromLatin1(c.waylandDisplay);
    f.sessionType = QString::fromLatin1(c.sessionType);
    f.userChosePlatform = c.userChose;
    f.xServerReachable = c.xReachable;
    EXPECT_EQ(platformToAsk(f), QString::fromLatin1(c.asked));
}

INSTANTIATE_TEST_SUITE_P(Sessions, PlatformChoice, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopSession, OnlyWaylandPlatformsPlaceWindowsThemselvesNot) {
    for (const char* name : {"xcb", "offscreen", "minimal", "vnc"})
        EXPECT_TRUE(DesktopSession::of(QString::fromLatin1(name)).windowsPlaceThemselves) << name;
    for (const char* name : {"wayland", "wayland-egl"})
        EXPECT_FALSE(DesktopSession::of(QString::fromLatin1(name)).windowsPlaceThemselves) << name;
}

// A listening unix socket at `path` (abstract: "@<path>"), closed with the object; a file
// socket's name stays behind, as a killed X server leaves it.
class Listener {
public:
    Listener(const QByteArray& path, bool abstract) {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const int offset = abstract ? 1 : 0;
        std::memcpy(addr.sun_path + offset, path.constData(), size_t(path.size()));
        const auto length =
            socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
        m_ok = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), length) == 0 &&
               ::listen(m_fd, 4) == 0;
    }
    ~Listener() { close(); }
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool ok() const { return m_ok; }

private:
    int m_fd = -1;
    bool m_ok = false;
};

TEST(XDisplayProbe, ASocketFileThatListensAnswers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Listener server(dir.filePath("X5").toLocal8Bit(), false);
    ASSERT_TRUE(server.ok());
    EXPECT_TRUE(xDisplayReachable(":5", dir.path()));
    EXPECT_TRUE(xDisplayReachable(":5.0", dir.path()));
    EXPECT_TRUE(xDisplayReachable("unix:5", dir.path()));
    EXPECT_FALSE(xDisplayReachable(":6", dir.path()));
}

TEST(XDisplayProbe, AnAbstractSocketAnswers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Listener server(dir.filePath("X7").toLocal8Bit(), true);
    ASSERT_TRUE(server.ok());
    EXPECT_TRUE(xDisplayReachable(":7", dir.path()));
    EXPECT_FALSE(QFile::exists(dir.filePath("X7")));
}

TEST(XDisplayProbe, ASocketFileLeftByAnEndedServerDoesNotAnswer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Listener server(dir.filePath("X3").toLocal8Bit(), false);
    ASSERT_TRUE(server.ok());
    server.close();
    ASSERT_TRUE(QFile::exists(dir.filePath("X3")));
    EXPECT_FALSE(xDisplayReachable(":3", dir.path()));
}

TEST(XDisplayProbe, RemoteAndMalformedDisplaysAreNotProbed) {
    for (const char* display : {"", "localhost:0", "example.test:10.0", ":", ":x", "0", ":1:2"})
        EXPECT_FALSE(xDisplayReachable(QString::fromLatin1(display), "/nonexistent")) << display;
}

} // namespace
} // namespace kovan
