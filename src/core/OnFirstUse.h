#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace kovan {

// An object made on its first use rather than together with its owner. The client's
// secondary windows (floating bar, pop-up, login, terms, lecture, plain web window, video) are
// held this way: none
// of them is needed before the first pages are on screen, and building them at start-up took
// GUI-thread time from the pages' first load. Each is still made once and reused.
// Not thread-safe: one owner thread (the GUI thread for windows).
template <class T> class OnFirstUse {
public:
    using Make = std::function<std::unique_ptr<T>()>;

    OnFirstUse() : m_make([] { return std::make_unique<T>(); }) {}
    explicit OnFirstUse(Make make) : m_make(std::move(make)) {}
    OnFirstUse(const OnFirstUse&) = delete;
    OnFirstUse& operator=(const OnFirstUse&) = delete;

    // The object, made now when this is its first use.
    T* get() {
        if (!m_object)
            m_object = m_make();
        return m_object.get();
    }
    T* operator->() { return get(); }
    // Without making it: null before the first use.
    T* ifBuilt() const { return m_object.get(); }

private:
    Make m_make;
    std::unique_ptr<T> m_object;
};

} // namespace kovan
