#pragma once

#include <QString>

namespace kovan {

// Which of Qt's platforms the client asks for, decided before the application object exists.
//
// On a Wayland session a native Wayland client cannot place its windows: the corner pop-up and
// the floating bar land where the compositor puts them and stay-on-top is ignored. Through
// XWayland (Qt's xcb platform) every window keeps its place and stacking, so the client asks
// for xcb whenever an X server answers. A platform the user chose (QT_QPA_PLATFORM set, even
// to nothing) is never overridden. Pure apart from probe(); any thread.
struct SessionFacts {
    QString waylandDisplay;         // WAYLAND_DISPLAY
    QString sessionType;            // XDG_SESSION_TYPE
    bool userChosePlatform = false; // QT_QPA_PLATFORM is set
    bool xServerReachable = false;  // DISPLAY names a local X server that accepts connections

    // The facts of this process's environment (connects to the X server's socket once, without
    // waiting).
    static SessionFacts probe();
};

// "xcb" when the client should run through XWayland; empty when Qt's own choice stands.
QString platformToAsk(const SessionFacts& facts);

// Whether a local X server answers on `display` (":N", ":N.S", "unix:N"): its abstract socket
// "@<socketDir>/XN" or its socket file <socketDir>/XN accepts a connection. A connection is
// tried without blocking (a local socket answers or refuses at once). Remote displays
// ("host:N") and malformed texts count as unreachable: probing them could wait on a network.
bool xDisplayReachable(const QString& display,
                       const QString& socketDir = QStringLiteral("/tmp/.X11-unix"));

// What the platform the client runs on lets its windows do, decided once after the application
// object exists and handed to the parts that place windows (through their Needs).
struct DesktopSession {
    // Top-level windows go where move()/setGeometry() put them, stay-on-top works and the work
    // area is the desktop's: false on a native Wayland session, where the compositor places
    // windows, moves and resizes them (startSystemMove/startSystemResize) and notices go to the
    // desktop's notification service instead of the corner pop-up.
    bool windowsPlaceThemselves = true;

    // For Qt's platform name (QGuiApplication::platformName()).
    static DesktopSession of(const QString& platformName);
};

} // namespace kovan
