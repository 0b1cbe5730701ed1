#pragma once

#include <QtGlobal>

#include <chrono>
#include <mutex>

namespace kovan {

// The player's master clock in microseconds of the media's time line: a wall clock that stops
// while paused and is pulled to the sound card's position whenever audio plays (without a
// sound device it simply runs on the wall clock). Any thread; one mutex.
class PlayClock {
public:
    using Clock = std::chrono::steady_clock;

    // Sets the position (open, seek); the paused state stays.
    void reset(qint64 us);
    void setPaused(bool paused);
    bool paused() const;
    qint64 now() const;
    // The position of the sound the device is playing now; the clock follows it when it
    // strays more than `toleranceUs`.
    void syncToAudio(qint64 us, qint64 toleranceUs = 40000);

private:
    qint64 nowLocked() const;

    mutable std::mutex m_mutex;
    qint64 m_base = 0; // position at m_since
    Clock::time_point m_since = Clock::now();
    bool m_paused = false;
};

} // namespace kovan
