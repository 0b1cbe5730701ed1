#pragma once

#include <functional>

namespace kovan {

// Calls a hook or callback that may be empty: every hook of the window and of its parts may
// be, and an empty one is skipped.
inline void callIfSet(const std::function<void()>& callback) {
    if (callback)
        callback();
}

} // namespace kovan
