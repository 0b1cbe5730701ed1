#pragma once

#include <atomic>

namespace kovan {

// appRunning: set by start-up, cleared by the exit procedure. Workers restart themselves and
// loops go on only while it is set. Any thread.
class AppRunningFlag {
public:
    bool isSet() const { return m_on.load(std::memory_order_acquire); }
    void set(bool on) { m_on.store(on, std::memory_order_release); }

private:
    std::atomic<bool> m_on{false};
};

} // namespace kovan
