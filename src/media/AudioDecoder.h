#pragma once

#include "media/FfmpegHandles.h"

#include <QByteArray>
#include <QString>

namespace kovan {

// One audio stream's sound, decoded and converted to the audio output's format (44100 Hz,
// signed 16-bit, stereo). Used by one thread at a time.
class AudioDecoder {
public:
    struct Chunk {
        QByteArray pcm;
        qint64 ptsUs = 0; // time of the first sample, from the stream's start
        qint64 durationUs = 0;
    };

    AudioDecoder() = default;
    ~AudioDecoder() { av_channel_layout_uninit(&m_swrLayout); }
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    bool open(const AVStream* stream, QString* error = nullptr);
    // A packet, or null to drain.
    bool send(const AVPacket* packet);
    // The next converted chunk; false when the decoder wants more input.
    bool receive(Chunk& out);
    void flush();

private:
    AVCodecContextPtr m_codec;
    SwrContextPtr m_swr;
    AVFramePtr m_frame{av_frame_alloc()};
    AVRational m_timeBase{1, 1000000};
    qint64 m_startPts = 0;
    qint64 m_nextPtsUs = 0; // for frames without a time
    int m_swrRate = 0, m_swrFormat = -1;
    AVChannelLayout m_swrLayout{};
};

} // namespace kovan
