#pragma once

#include <QtGlobal>

namespace kovan {

// One voice in the process's sound mix (see AudioOutput): samples are 44100 Hz, signed 16-bit
// native endian, two interleaved channels. An interface so that the video player's decoding
// library, loaded at run time, plays through the client's one audio device instead of
// opening its own. Any thread; destroying it leaves the mix.
class AudioChannel {
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = 2 * kChannels;

    virtual ~AudioChannel() = default;
    // Appends samples (whole frames) to the channel's queue.
    virtual void push(const char* pcm, qsizetype bytes) = 0;
    // Drops every sample still queued.
    virtual void clear() = 0;
    // A paused channel keeps its queue and adds silence.
    virtual void setPaused(bool paused) = 0;
    virtual qint64 queuedBytes() const = 0;
    // Frames the device has taken from this channel since it was opened.
    virtual qint64 playedFrames() const = 0;
};

} // namespace kovan
