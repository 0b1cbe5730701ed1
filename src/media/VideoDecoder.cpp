#include "media/VideoDecoder.h"

#include "media/PlayTime.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

namespace kovan {

bool VideoDecoder::open(const AVStream* stream, const QString& filters, QString* error) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        if (error)
            *error = QStringLiteral("no decoder for the video");
        return false;
    }
    m_codec.reset(avcodec_alloc_context3(codec));
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), stream->codecpar) < 0) {
        if (error)
            *error = QStringLiteral("video decoder not set up");
        return false;
    }
    m_codec->pkt_timebase = stream->time_base;
    m_codec->thread_count = 0; // as many as the machine has
    if (avcodec_open2(m_codec.get(), codec, nullptr) < 0) {
        if (error)
            *error = QStringLiteral("video decoder not opened");
        return false;
    }
    m_timeBase = stream->time_base;
    m_startPts = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const AVRational rate = av_guess_frame_rate(nullptr, const_cast<AVStream*>(stream), nullptr);
    if (rate.num > 0 && rate.den > 0)
        m_frameUs = av_rescale(1000000, rate.den, rate.num);
    m_filters = filters;
    return true;
}

bool VideoDecoder::buildGraph(const AVFrame* like) {
    m_graph.reset(avfilter_graph_alloc());
    m_src = m_sink = nullptr;
    if (!m_graph)
        return false;
    const AVRational sar =
        like->sample_aspect_ratio.num ? like->sample_aspect_ratio : AVRational{1, 1};
    const QByteArray args = QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=%4/%5:"
                                           "pixel_aspect=%6/%7")
                                .arg(like->width)
                                .arg(like->height)
                                .arg(like->format)
                                .arg(m_timeBase.num)
                                .arg(m_timeBase.den)
                                .arg(sar.num)
                                .arg(sar.den)
                                .toLatin1();
    if (avfilter_graph_create_filter(&m_src, avfilter_get_by_name("buffer"), "in", args.constData(),
                                     nullptr, m_graph.get()) < 0 ||
        avfilter_graph_create_filter(&m_sink, avfilter_get_by_name("buffersink"), "out", nullptr,
                                     nullptr, m_graph.get()) < 0)
        return false;
    const QByteArray text = (m_filters.isEmpty() ? QStringLiteral("null") : m_filters).toUtf8();
    // The graph text's open ends: "in" feeds its first filter, its last feeds "out".
    AVFilterInOutPtr outputs(avfilter_inout_alloc());
    AVFilterInOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs)
        return false;
    outputs->name = av_strdup("in");
    outputs->filter_ctx = m_src;
    outputs->pad_idx = 0;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = m_sink;
    inputs->pad_idx = 0;
    AVFilterInOut* in = inputs.release();
    AVFilterInOut* out = outputs.release();
    const int parsed =
        avfilter_graph_parse_ptr(m_graph.get(), text.constData(), &in, &out, nullptr);
    avfilter_inout_free(&in);
    avfilter_inout_free(&out);
    if (parsed < 0 || avfilter_graph_config(m_graph.get(), nullptr) < 0) {
        m_graph.reset();
        m_src = m_sink = nullptr;
        return false;
    }
    m_graphW = like->width;
    m_graphH = like->height;
    m_graphFormat = like->format;
    return true;
}

bool VideoDecoder::send(const AVPacket* packet) {
    if (!m_codec)
        return false;
    m_draining = packet == nullptr;
    const int rc = avcodec_send_packet(m_codec.get(), packet);
    return rc >= 0 || rc == AVERROR(EAGAIN) || rc == AVERROR_EOF;
}

bool VideoDecoder::receive(AVFrame*& frame, qint64& ptsUs) {
    for (;;) {
        // Pictures already through the filters first.
        if (m_graph) {
            av_frame_unref(m_filtered.get());
            if (av_buffersink_get_frame(m_sink, m_filtered.get()) >= 0) {
                frame = m_filtered.get();
                const qint64 pts = frame->best_effort_timestamp != AV_NOPTS_VALUE
                                       ? frame->best_effort_timestamp
                                       : frame->pts;
                ptsUs = pts == AV_NOPTS_VALUE
                            ? PlayTime::kNoTime
                            : av_rescale_q(pts - m_startPts, m_timeBase, AVRational{1, 1000000});
                return true;
            }
        }
        av_frame_unref(m_decoded.get());
        if (avcodec_receive_frame(m_codec.get(), m_decoded.get()) < 0)
            return false;
        AVFrame* d = m_decoded.get();
        if (!m_graph || d->width != m_graphW || d->height != m_graphH || d->format != m_graphFormat)
            if (!buildGraph(d))
                continue; // a picture the filters cannot take is skipped
        // The buffer source keeps its own reference; best_effort_timestamp survives as pts.
        d->pts = d->best_effort_timestamp;
        if (av_buffersrc_add_frame_flags(m_src, d, AV_BUFFERSRC_FLAG_KEEP_REF) < 0)
            continue;
    }
}

void VideoDecoder::flush() {
    if (m_codec)
        avcodec_flush_buffers(m_codec.get());
    m_graph.reset(); // drops pictures held inside the filters
    m_src = m_sink = nullptr;
    m_draining = false;
}

QImage VideoDecoder::toImage(const AVFrame* frame) {
    if (!frame || frame->width <= 0 || frame->height <= 0)
        return {};
    m_sws.reset(sws_getCachedContext(m_sws.release(), frame->width, frame->height,
                                     AVPixelFormat(frame->format), frame->width, frame->height,
                                     AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_sws)
        return {};
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(m_sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return image;
}

} // namespace kovan
