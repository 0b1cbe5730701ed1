#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace kovan {

// Owners of FFmpeg objects: each is released by its own free call on every way out.

struct AVFormatContextClose {
    // A custom I/O context (AVFMT_FLAG_CUSTOM_IO) is not freed here: its owner frees it after.
    void operator()(AVFormatContext* ctx) const noexcept { avformat_close_input(&ctx); }
};
struct AVIOContextFree {
    void operator()(AVIOContext* ctx) const noexcept {
        av_freep(&ctx->buffer); // the buffer may have been replaced by FFmpeg: free the live one
        avio_context_free(&ctx);
    }
};
struct AVCodecContextFree {
    void operator()(AVCodecContext* ctx) const noexcept { avcodec_free_context(&ctx); }
};
struct AVFrameFree {
    void operator()(AVFrame* frame) const noexcept { av_frame_free(&frame); }
};
struct AVPacketFree {
    void operator()(AVPacket* packet) const noexcept { av_packet_free(&packet); }
};
struct AVFilterGraphFree {
    void operator()(AVFilterGraph* graph) const noexcept { avfilter_graph_free(&graph); }
};
struct AVFilterInOutFree {
    void operator()(AVFilterInOut* io) const noexcept { avfilter_inout_free(&io); }
};
struct SwsContextFree {
    void operator()(SwsContext* ctx) const noexcept { sws_freeContext(ctx); }
};
struct SwrContextFree {
    void operator()(SwrContext* ctx) const noexcept { swr_free(&ctx); }
};
struct AVDictionaryFree {
    void operator()(AVDictionary* dict) const noexcept { av_dict_free(&dict); }
};

using AVFormatContextPtr = std::unique_ptr<AVFormatContext, AVFormatContextClose>;
using AVIOContextPtr = std::unique_ptr<AVIOContext, AVIOContextFree>;
using AVCodecContextPtr = std::unique_ptr<AVCodecContext, AVCodecContextFree>;
using AVFramePtr = std::unique_ptr<AVFrame, AVFrameFree>;
using AVPacketPtr = std::unique_ptr<AVPacket, AVPacketFree>;
using AVFilterGraphPtr = std::unique_ptr<AVFilterGraph, AVFilterGraphFree>;
using AVFilterInOutPtr = std::unique_ptr<AVFilterInOut, AVFilterInOutFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextFree>;

// An owned AVDictionary* that can be handed to FFmpeg calls taking AVDictionary**.
class AVDictionaryHolder {
public:
    AVDictionaryHolder() = default;
    ~AVDictionaryHolder() { av_dict_free(&m_dict); }
    AVDictionaryHolder(const AVDictionaryHolder&) = delete;
    AVDictionaryHolder& operator=(const AVDictionaryHolder&) = delete;
    void set(const char* key, const char* value) { av_dict_set(&m_dict, key, value, 0); }
    AVDictionary** address() { return &m_dict; }

private:
    AVDictionary* m_dict = nullptr;
};

} // namespace kovan
