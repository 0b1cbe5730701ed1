#pragma once

#include "media/FfmpegHandles.h"

#include <QImage>
#include <QString>

namespace kovan {

// One video stream's pictures: decode, the filter graph (the window passes
// "hue=b=0:s=1:H=0"), and conversion to QImage::Format_RGB32. Used by one thread at a time.
class VideoDecoder {
public:
    VideoDecoder() = default;
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // False (with a reason) when the stream's codec cannot be opened.
    bool open(const AVStream* stream, const QString& filters, QString* error = nullptr);
    // A compressed packet, or null to drain. False on a decoding error of the packet (the
    // stream goes on).
    bool send(const AVPacket* packet);
    // The next filtered picture; false when the decoder wants more input. `ptsUs` is the
    // picture's time in microseconds from the stream's start (PlayTime::kNoTime if unknown).
    bool receive(AVFrame*& frame, qint64& ptsUs);
    // After a seek: forget pictures of the old position.
    void flush();
    // The picture as RGB32 at its own size.
    QImage toImage(const AVFrame* frame);

    int width() const { return m_codec ? m_codec->width : 0; }
    int height() const { return m_codec ? m_codec->height : 0; }
    // Nominal frame duration in microseconds (40 ms when the stream does not say).
    qint64 frameDurationUs() const { return m_frameUs; }

private:
    bool buildGraph(const AVFrame* like);

    AVCodecContextPtr m_codec;
    AVFilterGraphPtr m_graph;
    AVFilterContext* m_src = nullptr;  // owned by m_graph
    AVFilterContext* m_sink = nullptr; // owned by m_graph
    int m_graphW = 0, m_graphH = 0, m_graphFormat = -1;
    SwsContextPtr m_sws;
    AVFramePtr m_decoded{av_frame_alloc()};
    AVFramePtr m_filtered{av_frame_alloc()};
    AVRational m_timeBase{1, 1000000};
    qint64 m_startPts = 0; // stream start in its time base
    qint64 m_frameUs = 40000;
    QString m_filters;
    bool m_draining = false;
};

} // namespace kovan
