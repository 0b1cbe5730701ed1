#pragma once

#include <QString>

#include <functional>

namespace kovan {

// What other parts may do with the main window, offered by the shell. GUI thread only.
struct MainWindowControls {
    std::function<bool()> visible;      // shown and not minimised
    std::function<void()> show;         // made visible (un-minimised) where it was
    std::function<void()> bringToFront; // made visible and raised above other windows
    // Shows the section panel of a key ("sg", "dt", "ay", "pl").
    std::function<void(const QString& key)> switchPae;
    // The floating bar closed: the window stays reachable (back in the task bar, minimised,
    // when it was hidden and the desktop has no tray).
    std::function<void()> floatBarClosed = {};
};

} // namespace kovan
