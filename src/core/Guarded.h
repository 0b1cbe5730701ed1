#pragma once

#include <mutex>
#include <utility>

namespace kovan {

// A value that is only reachable under its own lock. Readers take a copy (snapshot) or run a
// short function under the lock; nobody can hold a reference past the lock.
template <typename T> class Guarded {
public:
    Guarded() = default;
    explicit Guarded(T value) : m_value(std::move(value)) {}

    template <typename F> decltype(auto) with(F&& f) {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(m_value);
    }
    template <typename F> decltype(auto) with(F&& f) const {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(std::as_const(m_value));
    }
    T snapshot() const {
        std::lock_guard lock(m_mutex);
        return m_value;
    }
    void assign(T value) {
        std::lock_guard lock(m_mutex);
        m_value = std::move(value);
    }

private:
    mutable std::mutex m_mutex;
    T m_value{};
};

} // namespace kovan
