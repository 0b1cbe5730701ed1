#include "media/AudioDecoder.h"

#include "audio/AudioChannel.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace kovan {

bool AudioDecoder::open(const AVStream* stream, QString* error) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    m_codec.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), stream->codecpar) < 0 ||
        avcodec_open2(m_codec.get(), codec, nullptr) < 0) {
        if (error)
            *error = QStringLiteral("audio decoder not opened");
        m_codec.reset();
        return false;
    }
    m_codec->pkt_timebase = stream->time_base;
    m_timeBase = stream->time_base;
    m_startPts = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return true;
}

bool AudioDecoder::send(const AVPacket* packet) {
    if (!m_codec)
        return false;
    const int rc = avcodec_send_packet(m_codec.get(), packet);
    return rc >= 0 || rc == AVERROR(EAGAIN) || rc == AVERROR_EOF;
}

bool AudioDecoder::receive(Chunk& out) {
    for (;;) {
        av_frame_unref(m_frame.get());
        if (!m_codec || avcodec_receive_frame(m_codec.get(), m_frame.get()) < 0)
            return false;
        AVFrame* f = m_frame.get();
        if (f->nb_samples <= 0 || f->sample_rate <= 0)
            continue;
        if (!m_swr || f->sample_rate != m_swrRate || f->format != m_swrFormat ||
            av_channel_layout_compare(&f->ch_layout, &m_swrLayout) != 0) {
            AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
            SwrContext* raw = nullptr;
            if (swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_S16, AudioChannel::kRate,
                                    &f->ch_layout, AVSampleFormat(f->format), f->sample_rate, 0,
                                    nullptr) < 0)
                return false;
            m_swr.reset(raw);
            if (swr_init(m_swr.get()) < 0) {
                m_swr.reset();
                return false;
            }
            m_swrRate = f->sample_rate;
            m_swrFormat = f->format;
            av_channel_layout_uninit(&m_swrLayout);
            av_channel_layout_copy(&m_swrLayout, &f->ch_layout);
        }
        const int maxOut =
            int(av_rescale_rnd(swr_get_delay(m_swr.get(), f->sample_rate) + f->nb_samples,
                               AudioChannel::kRate, f->sample_rate, AV_ROUND_UP));
        out.pcm.resize(qsizetype(maxOut) * AudioChannel::kBytesPerFrame);
        auto* dst = reinterpret_cast<uint8_t*>(out.pcm.data());
        const int got = swr_convert(m_swr.get(), &dst, maxOut,
                                    const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
        if (got <= 0)
            continue;
        out.pcm.resize(qsizetype(got) * AudioChannel::kBytesPerFrame);
        const qint64 pts =
            f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
        out.ptsUs = pts == AV_NOPTS_VALUE
                        ? m_nextPtsUs
                        : av_rescale_q(pts - m_startPts, m_timeBase, AVRational{1, 1000000});
        out.durationUs = qint64(got) * 1000000 / AudioChannel::kRate;
        m_nextPtsUs = out.ptsUs + out.durationUs;
        return true;
    }
}

void AudioDecoder::flush() {
    if (m_codec)
        avcodec_flush_buffers(m_codec.get());
    if (m_swr)
        m_swr.reset(); // drop samples held for resampling
    m_swrFormat = -1;
}

} // namespace kovan
