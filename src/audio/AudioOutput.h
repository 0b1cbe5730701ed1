#pragma once

#include "audio/AudioChannel.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kovan {

struct SoundBackendApi;

// The process's one audio device (SDL2, through the sound library: SoundBackend), shared by
// everything that makes sound (alert sounds, the video player). Each user opens a Channel; the
// device plays the sum of all channels. The device is opened with the first channel and closed when
// the last one goes, so between uses it is free (the dummy driver allows a single open device at a
// time).
//
// Format of every channel: 44100 Hz, signed 16-bit native endian, two interleaved channels.
//
// Threads: open() and a channel's methods from any thread. SDL device open and close happen
// under m_deviceMutex only; sample buffers are guarded by m_mixMutex, which SDL's audio
// thread takes in the mixing callback.
class AudioOutput {
public:
    static constexpr int kRate = AudioChannel::kRate;
    static constexpr int kChannels = AudioChannel::kChannels;
    static constexpr int kBytesPerFrame = AudioChannel::kBytesPerFrame;
    static constexpr int kBufferSamples = 1024;

    class Channel final : public AudioChannel {
    public:
        ~Channel() override; // leaves the mix; the last channel closes the device
        Channel(const Channel&) = delete;
        Channel& operator=(const Channel&) = delete;

        void push(const char* pcm, qsizetype bytes) override;
        void clear() override;
        void setPaused(bool paused) override;
        qint64 queuedBytes() const override;
        qint64 playedFrames() const override;

    private:
        friend class AudioOutput;
        explicit Channel(AudioOutput& out) : m_out(out) {}
        AudioOutput& m_out;
        // Guarded by m_out.m_mixMutex.
        QByteArray m_queue;
        qsizetype m_readPos = 0;
        bool m_paused = false;
        qint64 m_played = 0;
    };

    static AudioOutput& instance();

    // A new channel, or null when there is no audio driver or no device.
    std::unique_ptr<Channel> open();
    // Milliseconds of one device buffer.
    static int bufferMs() { return kBufferSamples * 1000 / kRate + 1; }

private:
    AudioOutput() = default;
    ~AudioOutput();
    static void mix(void* user, std::uint8_t* stream, int len); // SDL's audio thread
    void release(Channel* channel);

    std::mutex m_deviceMutex;
    std::uint32_t m_device = 0;                 // guarded by m_deviceMutex
    const SoundBackendApi* m_backend = nullptr; // set with the first device; m_deviceMutex
    int m_users = 0;                            // guarded by m_deviceMutex

    mutable std::mutex m_mixMutex;
    std::vector<Channel*> m_channels; // guarded by m_mixMutex
};

} // namespace kovan
