#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

struct SDL_AudioSpec;

namespace kovan {

// The process-wide output of alert sounds on SDL2 audio. Sound workers call playToEnd() on
// their own threads; one sound plays at a time and a newer one cuts off the one playing.
//
// The device is opened for a sound and closed when it has ended, so that between alerts it is
// free for other users (the dummy driver allows one open device at a time). All SDL audio
// calls made here happen under one mutex. No driver or no device means silence, at once.
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
    // The open SDL audio device, closed by its owner when it goes (or on close()).
    class AudioDevice {
    public:
        AudioDevice() = default;
        ~AudioDevice();
        AudioDevice(const AudioDevice&) = delete;
        AudioDevice& operator=(const AudioDevice&) = delete;

        void open(const SDL_AudioSpec& want); // closes the present one first
        void close();
        bool isOpen() const { return m_id != 0; }
        std::uint32_t id() const { return m_id; } // SDL_AudioDeviceID; 0 = closed

    private:
        std::uint32_t m_id = 0;
    };

    AlertAudio() = default;
    bool ensureDevice(); // with m_mutex held

    std::mutex m_mutex;
    AudioDevice m_device; // guarded by m_mutex
    bool m_sdlReady = false;
    std::uint64_t m_generation = 0; // bumped by every sound that starts
    std::atomic<int> m_started{0};
};

} // namespace kovan
