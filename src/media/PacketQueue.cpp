#include "media/PacketQueue.h"

#include <chrono>

namespace kovan {

namespace {
constexpr std::chrono::milliseconds kSlice(20);
}

bool PacketQueue::put(Item item, const std::function<bool()>& cancel) {
    std::unique_lock lock(m_mutex);
    while (!m_aborted && m_items.size() >= m_maxPackets) {
        if (cancel && cancel())
            return false;
        m_cv.wait_for(lock, kSlice);
    }
    if (m_aborted)
        return false;
    m_items.push_back(std::move(item));
    lock.unlock();
    m_cv.notify_all();
    return true;
}

bool PacketQueue::get(Item& out, const std::function<bool()>& cancel) {
    std::unique_lock lock(m_mutex);
    while (!m_aborted && m_items.empty()) {
        if (cancel && cancel())
            return false;
        m_cv.wait_for(lock, kSlice);
    }
    if (m_aborted)
        return false;
    out = std::move(m_items.front());
    m_items.pop_front();
    lock.unlock();
    m_cv.notify_all();
    return true;
}

void PacketQueue::flush() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
    m_cv.notify_all();
}

void PacketQueue::abort() {
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    m_items.clear();
    m_cv.notify_all();
}

size_t PacketQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_items.size();
}

} // namespace kovan
