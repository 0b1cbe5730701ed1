#include "media/PlayClock.h"

#include <cstdlib>

namespace kovan {

qint64 PlayClock::nowLocked() const {
    if (m_paused)
        return m_base;
    return m_base +
           std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_since).count();
}

void PlayClock::reset(qint64 us) {
    std::lock_guard lock(m_mutex);
    m_base = us;
    m_since = Clock::now();
}

void PlayClock::setPaused(bool paused) {
    std::lock_guard lock(m_mutex);
    if (paused == m_paused)
        return;
    m_base = nowLocked();
    m_since = Clock::now();
    m_paused = paused;
}

bool PlayClock::paused() const {
    std::lock_guard lock(m_mutex);
    return m_paused;
}

qint64 PlayClock::now() const {
    std::lock_guard lock(m_mutex);
    return nowLocked();
}

void PlayClock::syncToAudio(qint64 us, qint64 toleranceUs) {
    std::lock_guard lock(m_mutex);
    if (m_paused)
        return;
    if (std::llabs(nowLocked() - us) > toleranceUs) {
        m_base = us;
        m_since = Clock::now();
    }
}

} // namespace kovan
