#pragma once

#include "audio/AudioOutput.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace kovan {

// Alert sounds on the process's audio output (AudioOutput, shared with the video player).
// Sound workers call playToEnd() on their own threads; one alert plays at a time and a newer
// one cuts off the one playing.
//
// The alert channel is opened for a sound and closed when it has ended, so that between alerts
// the device is only held by other users. No driver or no device means silence, at once.
class AlertAudio {
public:
    enum class Result {
        Finished,   // played to its end
        Superseded, // a newer sound started before this one ended
        NoDevice,   // no audio driver or device: nothing played
    };

    static AlertAudio& instance();

    // Worker thread: plays a WAV file and returns when it has ended. A file that is missing
    // or that SDL cannot read as WAV plays the built-in alert sound instead
    // (`usedDefault` tells which).
    // `stop`, when given, is polled: once it is set the sound stops (or never starts) and the
    // call returns Superseded.
    Result playToEnd(const QString& wavPath, bool* usedDefault = nullptr,
                     const std::atomic<bool>* stop = nullptr);
    // Same, for WAV bytes in memory.
    Result playBytesToEnd(const QByteArray& wav, bool* usedDefault = nullptr,
                          const std::atomic<bool>* stop = nullptr);

    // Sounds that reached the device so far (tests, diagnostics). Any thread.
    int soundsStarted() const { return m_started.load(std::memory_order_relaxed); }

private:
    AlertAudio() = default;

    std::mutex m_mutex;
    std::unique_ptr<AudioOutput::Channel> m_channel; // guarded by m_mutex
    std::uint64_t m_generation = 0;                  // bumped by every sound that starts
    std::atomic<int> m_started{0};
};

} // namespace kovan
