#pragma once

#include <QString>

namespace kovan {

// The user's session bus, where the desktop's tray host and notification service live:
// DBUS_SESSION_BUS_ADDRESS when set, else the socket "bus" in XDG_RUNTIME_DIR (as a systemd
// user session has it), else the empty text. Nothing else is tried: libdbus would otherwise
// launch a bus of its own (X11 autolaunch) for a client that found none. Any thread.
QString sessionBusAddress();

} // namespace kovan
