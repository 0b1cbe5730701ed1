#pragma once

#include <QString>

#include <functional>

namespace kovan {

// What other parts may do with the main window, offered by the shell. GUI thread only.
struct MainWindowControls {
    std::function<bool()> visible;
    std::function<void()> show;         // made visible where it was
    std::function<void()> bringToFront; // made visible and raised above other windows
    // Shows the section panel of a key ("sg", "dt", "ay", "pl").
    std::function<void(const QString& key)> switchPae;
};

} // namespace kovan
