#include "core/SessionPlatform.h"

#include <QByteArray>
#include <QRegularExpression>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovan {

namespace {

// Connects a non-blocking stream socket to `address` (its length counted); true when the
// server accepted or is about to (a full backlog still means someone listens).
bool unixSocketAnswers(const QByteArray& path, bool abstract) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const qsizetype offset = abstract ? 1 : 0;
    if (path.size() + offset >= qsizetype(sizeof addr.sun_path))
        return false;
    std::memcpy(addr.sun_path + offset, path.constData(), size_t(path.size()));
    const socklen_t length =
        socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), length);
    const bool answers = rc == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return answers;
}

} // namespace

SessionFacts SessionFacts::probe() {
    SessionFacts f;
    f.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    f.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    f.userChosePlatform = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const QString display = qEnvironmentVariable("DISPLAY");
    f.xServerReachable = !display.isEmpty() && xDisplayReachable(display);
    return f;
}

QString platformToAsk(const SessionFacts& facts) {
    if (facts.userChosePlatform)
        return {};
    const bool wayland = !facts.waylandDisplay.isEmpty() ||
                         facts.sessionType.compare(u"wayland", Qt::CaseInsensitive) == 0;
    if (wayland && facts.xServerReachable)
        return QStringLiteral("xcb");
    return {};
}

DesktopSession DesktopSession::of(const QString& platformName) {
    // "wayland", "wayland-egl", …: Qt's Wayland plugins.
    return {.windowsPlaceThemselves = !platformName.startsWith(u"wayland")};
}

bool xDisplayReachable(const QString& display, const QString& socketDir) {
    static const QRegularExpression local(QStringLiteral(R"(^(?:unix)?:(\d+)(?:\.\d+)?$)"));
    const QRegularExpressionMatch m = local.match(display);
    if (!m.hasMatch())
        return false;
    const QByteArray path = (socketDir + QStringLiteral("/X") + m.captured(1)).toLocal8Bit();
    return unixSocketAnswers(path, true) || unixSocketAnswers(path, false);
}

} // namespace kovan
