#pragma once

#include <QStringView>

namespace kovan::settingskeys {

// Keys of config.dat that more than one place reads or writes, each spelled only here.

// "1" / "0": each corner notice also goes to the desktop's notification service. Absent: on
// where windows cannot place themselves (a native Wayland session), off elsewhere.
inline constexpr QStringView kSysNotify = u"sysnotify";

} // namespace kovan::settingskeys
