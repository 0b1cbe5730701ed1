#include "ClipMaker.h"

#include "media/FfmpegHandles.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <cmath>
#include <cstdint>

namespace kovan::clip {

namespace {

struct Encoder {
    AVCodecContextPtr codec;
    AVStream* stream = nullptr; // owned by the format context
    AVFramePtr frame{av_frame_alloc()};
    int64_t next = 0; // pts of the next frame in the codec's time base
};

// Sends `frame` (null: flush) and writes every packet that comes out.
bool encode(AVFormatContext* out, Encoder& e, AVFrame* frame) {
    if (avcodec_send_frame(e.codec.get(), frame) < 0)
        return false;
    AVPacketPtr packet(av_packet_alloc());
    for (;;) {
        const int rc = avcodec_receive_packet(e.codec.get(), packet.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0)
            return false;
        av_packet_rescale_ts(packet.get(), e.codec->time_base, e.stream->time_base);
        packet->stream_index = e.stream->index;
        if (av_interleaved_write_frame(out, packet.get()) < 0)
            return false;
    }
}

void paintPicture(AVFrame* f, const ClipSpec& shape, int64_t index, uint32_t& seed) {
    const int w = f->width, h = f->height;
    const int shift = int(index * 4);
    const int boxX = int((index * 7) % std::max(1, w - h / 4));
    const int u0 = shape.pattern == 0 ? 90 : 128, v0 = shape.pattern == 0 ? 150 : 128;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = f->data[0] + y * f->linesize[0];
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            int luma = 60 + ((x + y + shift) % 160) + int(seed >> 29);
            if (y > h / 3 && y < h / 3 + h / 4 && x >= boxX && x < boxX + h / 4)
                luma = 235;
            row[x] = uint8_t(std::min(235, luma));
        }
    }
    for (int y = 0; y < h / 2; ++y) {
        uint8_t* u = f->data[1] + y * f->linesize[1];
        uint8_t* v = f->data[2] + y * f->linesize[2];
        for (int x = 0; x < w / 2; ++x) {
            u[x] = uint8_t(u0 + ((x + shift / 2) % 40) - 20);
            v[x] = uint8_t(v0 + ((y * 2 + x) % 30) - 15);
        }
    }
}

void fillTone(AVFrame* f, int64_t firstSample) {
    auto* left = reinterpret_cast<float*>(f->data[0]);
    auto* right = reinterpret_cast<float*>(f->data[1]);
    for (int i = 0; i < f->nb_samples; ++i) {
        const int64_t n = firstSample + i;
        const bool beep = (n % f->sample_rate) < f->sample_rate / 5;
        const float s =
            beep ? 0.2f * float(std::sin(2 * M_PI * 440.0 * double(n) / f->sample_rate)) : 0.0f;
        left[i] = right[i] = s;
    }
}

} // namespace

std::string writeClip(const ClipSpec& shape, const std::string& path) {
    av_log_set_level(AV_LOG_ERROR); // the encoder's statistics are of no interest here
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "mp4", path.c_str()) < 0 || !raw)
        return "no mp4 muxer";
    // Closes the file on every way out (the muxer does not own it).
    struct Output {
        AVFormatContext* ctx;
        ~Output() {
            if (ctx->pb)
                avio_closep(&ctx->pb);
            avformat_free_context(ctx);
        }
    } out{raw};
    AVFormatContext* oc = out.ctx;
    const bool globalHeader = oc->oformat->flags & AVFMT_GLOBALHEADER;

    Encoder video;
    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    if (!h264)
        h264 = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!h264)
        return "no H.264 encoder";
    video.codec.reset(avcodec_alloc_context3(h264));
    AVCodecContext* vc = video.codec.get();
    vc->width = shape.width;
    vc->height = shape.height;
    vc->time_base = AVRational{1, shape.fps};
    vc->framerate = AVRational{shape.fps, 1};
    vc->pix_fmt = AV_PIX_FMT_YUV420P;
    vc->gop_size = shape.fps * 2;
    vc->max_b_frames = 2;
    vc->bit_rate = shape.videoBitRate;
    if (globalHeader)
        vc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionaryHolder videoOptions;
    videoOptions.set("preset", "veryfast");
    if (avcodec_open2(vc, h264, videoOptions.address()) < 0)
        return "H.264 encoder not opened";
    video.stream = avformat_new_stream(oc, nullptr);
    if (!video.stream || avcodec_parameters_from_context(video.stream->codecpar, vc) < 0)
        return "no video stream";
    video.stream->time_base = vc->time_base;
    AVFrame* vf = video.frame.get();
    vf->format = vc->pix_fmt;
    vf->width = vc->width;
    vf->height = vc->height;
    if (av_frame_get_buffer(vf, 0) < 0)
        return "no picture buffer";

    Encoder audio;
    if (shape.audio) {
        const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!aac)
            return "no AAC encoder";
        audio.codec.reset(avcodec_alloc_context3(aac));
        AVCodecContext* ac = audio.codec.get();
        ac->sample_fmt = AV_SAMPLE_FMT_FLTP;
        ac->sample_rate = 44100;
        const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        av_channel_layout_copy(&ac->ch_layout, &stereo);
        ac->bit_rate = 96000;
        ac->time_base = AVRational{1, ac->sample_rate};
        if (globalHeader)
            ac->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(ac, aac, nullptr) < 0)
            return "AAC encoder not opened";
        audio.stream = avformat_new_stream(oc, nullptr);
        if (!audio.stream || avcodec_parameters_from_context(audio.stream->codecpar, ac) < 0)
            return "no audio stream";
        audio.stream->time_base = ac->time_base;
        AVFrame* af = audio.frame.get();
        af->format = ac->sample_fmt;
        af->sample_rate = ac->sample_rate;
        av_channel_layout_copy(&af->ch_layout, &ac->ch_layout);
        af->nb_samples = ac->frame_size > 0 ? ac->frame_size : 1024;
        if (av_frame_get_buffer(af, 0) < 0)
            return "no sound buffer";
    }

    if (avio_open(&oc->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return "cannot write " + path;
    AVDictionaryHolder muxOptions;
    if (shape.faststart)
        muxOptions.set("movflags", "+faststart");
    if (avformat_write_header(oc, muxOptions.address()) < 0)
        return "header not written";

    const int64_t frames = int64_t(std::llround(shape.seconds * shape.fps));
    const int64_t samples = int64_t(std::llround(shape.seconds * 44100));
    uint32_t seed = 12345;
    bool videoOpen = true, audioOpen = shape.audio;
    while (videoOpen || audioOpen) {
        const bool videoNext =
            videoOpen && (!audioOpen || av_compare_ts(video.next, vc->time_base, audio.next,
                                                      audio.codec->time_base) <= 0);
        if (videoNext) {
            if (video.next >= frames) {
                if (!encode(oc, video, nullptr))
                    return "video not flushed";
                videoOpen = false;
                continue;
            }
            if (av_frame_make_writable(vf) < 0)
                return "picture busy";
            paintPicture(vf, shape, video.next, seed);
            vf->pts = video.next++;
            if (!encode(oc, video, vf))
                return "video not encoded";
        } else {
            AVFrame* af = audio.frame.get();
            if (audio.next >= samples) {
                if (!encode(oc, audio, nullptr))
                    return "audio not flushed";
                audioOpen = false;
                continue;
            }
            if (av_frame_make_writable(af) < 0)
                return "sound busy";
            fillTone(af, audio.next);
            af->pts = audio.next;
            audio.next += af->nb_samples;
            if (!encode(oc, audio, af))
                return "audio not encoded";
        }
    }
    if (av_write_trailer(oc) < 0)
        return "trailer not written";
    return {};
}

} // namespace kovan::clip
