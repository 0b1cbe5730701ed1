#pragma once

#include <QString>

#include <functional>

namespace kovan {

class CommandRegistry;

// The page commands that open the auxiliary windows:
//  - normalwindow {url, title}: the plain web window;
//  - showyyopen (deferred: modal): the lecture pop-up, when a lecture is configured.
// The windows are handed in as hooks (any may be empty: the command then shows nothing and
// answers "1"). GUI thread only.
struct WindowCommandTargets {
    std::function<void(const QString& title, const QString& url)> shownormalwindow = {};
    // Shows the lecture pop-up modally and returns when it closes; false when no lecture is
    // configured.
    std::function<bool()> showLecture = {};
};

void registerWindowCommands(CommandRegistry& registry, const WindowCommandTargets& targets);

// normalwindow's parameter {url, title}: throws ConversionError for text that is not a JSON
// object; calls `show` only when url is non-empty.
void runNormalWindow(const QString& aParam,
                     const std::function<void(const QString&, const QString&)>& show);

} // namespace kovan
