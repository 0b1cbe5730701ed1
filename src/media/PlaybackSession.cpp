#include "media/PlaybackSession.h"

#include "media/GrowingFile.h"
#include "media/PlayTime.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace kovan {

namespace {

using std::chrono::milliseconds;
constexpr milliseconds kSlice(20);
// Sound kept queued on the device ahead of what it plays.
constexpr qint64 kAudioAheadBytes = AudioChannel::kRate * AudioChannel::kBytesPerFrame / 4;
// A picture this late is skipped without converting it (the next one may be on time).
constexpr qint64 kLateUs = 150000;
// Position events at most this often while playing.
constexpr qint64 kPositionEveryUs = 100000;

} // namespace

PlaybackSession::PlaybackSession(std::shared_ptr<GrowingFile> file, Options options, Events events)
    : m_file(std::move(file)), m_options(std::move(options)), m_events(std::move(events)),
      m_io(std::make_unique<GrowingFileIo>(m_file, m_options.readTimeoutMs)) {
    m_paused = m_options.paused;
    m_clock.setPaused(m_paused);
}

PlaybackSession::~PlaybackSession() {
    m_abort.store(true, std::memory_order_release);
    m_io->interrupt();
    m_videoPackets.abort();
    m_audioPackets.abort();
    {
        std::lock_guard lock(m_mutex);
        m_cv.notify_all();
    }
    if (m_demuxThread.joinable())
        m_demuxThread.join(); // joins the decoder threads before it ends
    m_format.reset();
    m_io.reset();
    std::lock_guard lock(m_mutex);
    m_channel.reset();
}

bool PlaybackSession::start() {
    if (!m_io->open())
        return false;
    m_demuxThread = std::thread([this] { demuxMain(); });
    return true;
}

void PlaybackSession::setPaused(bool paused) {
    std::lock_guard lock(m_mutex);
    m_paused = paused;
    m_clock.setPaused(paused);
    if (m_channel)
        m_channel->setPaused(paused);
    m_cv.notify_all();
}

void PlaybackSession::seek(qint64 us, bool backward) {
    {
        std::lock_guard lock(m_mutex);
        m_seekPending = true;
        m_seekTarget = std::max<qint64>(0, us);
        m_seekBackward = backward;
        m_cv.notify_all();
    }
    m_io->interrupt(); // a read waiting at the end of the download gives way
}

QImage PlaybackSession::frame() const {
    std::lock_guard lock(m_frameMutex);
    return m_frame;
}

bool PlaybackSession::hasAudio() const {
    std::lock_guard lock(m_mutex);
    return m_channel != nullptr;
}

int PlaybackSession::interruptCallback(void* opaque) {
    return static_cast<PlaybackSession*>(opaque)->m_abort.load(std::memory_order_acquire) ? 1 : 0;
}

bool PlaybackSession::current(int serial) const {
    std::lock_guard lock(m_mutex);
    return serial == m_serial;
}

// --- demux thread ---

bool PlaybackSession::openMedia() {
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) {
        m_events.failed(QStringLiteral("out of memory"));
        return false;
    }
    raw->pb = m_io->context();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    raw->interrupt_callback = {&PlaybackSession::interruptCallback, this};
    AVDictionaryHolder options;
    // What arrived before playback opens is enough to tell the format: no reading ahead.
    options.set("probesize", "524288");
    // On failure FFmpeg frees the context itself (not the custom I/O context).
    if (avformat_open_input(&raw, nullptr, nullptr, options.address()) < 0) {
        m_events.failed(QStringLiteral("media cannot be opened"));
        return false;
    }
    m_format.reset(raw);
    if (avformat_find_stream_info(m_format.get(), nullptr) < 0) {
        m_events.failed(QStringLiteral("media streams unknown"));
        return false;
    }
    m_videoIndex = av_find_best_stream(m_format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_videoIndex >= 0 && !m_video.open(m_format->streams[m_videoIndex], m_options.videoFilters))
        m_videoIndex = -1;
    m_audioIndex = av_find_best_stream(m_format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_audioIndex >= 0) {
        // Without a sound device the video plays alone, on the wall clock.
        std::unique_ptr<AudioChannel> channel =
            m_options.openAudio ? m_options.openAudio() : nullptr;
        if (channel && m_audio.open(m_format->streams[m_audioIndex])) {
            std::lock_guard lock(m_mutex);
            channel->setPaused(m_paused);
            m_channel = std::move(channel);
        } else {
            m_audioIndex = -1;
        }
    }
    if (m_videoIndex < 0 && m_audioIndex < 0) {
        m_events.failed(QStringLiteral("nothing playable"));
        return false;
    }
    const qint64 duration =
        m_format->duration == AV_NOPTS_VALUE ? PlayTime::kNoTime : m_format->duration;
    m_events.opened(duration, m_video.width(), m_video.height());
    return true;
}

void PlaybackSession::seekNow() {
    qint64 target = 0;
    bool backward = false;
    {
        std::lock_guard lock(m_mutex);
        target = m_seekTarget;
        backward = m_seekBackward;
        m_seekPending = false;
    }
    m_io->clearInterrupt();
    AVIOContext* pb = m_format->pb;
    pb->error = 0; // an interrupted read left its mark
    pb->eof_reached = 0;
    const qint64 start = m_format->start_time == AV_NOPTS_VALUE ? 0 : m_format->start_time;
    int rc = av_seek_frame(m_format.get(), -1, start + target, backward ? AVSEEK_FLAG_BACKWARD : 0);
    if (rc < 0 && !backward) // without the flag a target near the end can fail
        av_seek_frame(m_format.get(), -1, start + target, AVSEEK_FLAG_BACKWARD);
    m_videoPackets.flush();
    m_audioPackets.flush();
    std::lock_guard lock(m_mutex);
    if (m_channel)
        m_channel->clear();
    ++m_serial;
    m_dropBefore = target;
    m_showFirst = true;
    m_videoDone = m_audioDone = m_endPosted = false;
    m_clock.reset(target);
    m_cv.notify_all();
}

void PlaybackSession::demuxMain() {
    if (!openMedia())
        return;
    startDecoders();
    readPackets();
    stopDecoders();
}

void PlaybackSession::startDecoders() {
    if (m_videoIndex >= 0)
        m_videoThread = std::thread([this] { videoMain(); });
    if (m_audioIndex >= 0)
        m_audioThread = std::thread([this] { audioMain(); });
}

void PlaybackSession::stopDecoders() {
    m_videoPackets.abort();
    m_audioPackets.abort();
    if (m_videoThread.joinable())
        m_videoThread.join();
    if (m_audioThread.joinable())
        m_audioThread.join();
}

bool PlaybackSession::seekOrStopWanted() const {
    if (m_abort.load(std::memory_order_acquire))
        return true;
    std::lock_guard lock(m_mutex);
    return m_seekPending;
}

PacketQueue* PlaybackSession::queueOf(int streamIndex) {
    return streamIndex == m_videoIndex   ? &m_videoPackets
           : streamIndex == m_audioIndex ? &m_audioPackets
                                         : nullptr;
}

void PlaybackSession::queueEndOfStreams(int serial, const std::function<bool()>& seekOrStop) {
    if (m_videoIndex >= 0)
        m_videoPackets.put({nullptr, serial}, seekOrStop);
    if (m_audioIndex >= 0)
        m_audioPackets.put({nullptr, serial}, seekOrStop);
}

void PlaybackSession::readPackets() {
    const auto seekOrStop = [this] { return seekOrStopWanted(); };
    AVPacketPtr packet(av_packet_alloc());
    bool atEnd = false;
    int serial = 1;
    while (packet && !m_abort.load(std::memory_order_acquire)) {
        {
            std::unique_lock lock(m_mutex);
            if (m_seekPending) {
                lock.unlock();
                seekNow();
                atEnd = false;
                serial = m_serial; // written by this thread only
                continue;
            }
            if (atEnd) {
                m_cv.wait_for(lock, kSlice);
                continue;
            }
        }
        const int rc = av_read_frame(m_format.get(), packet.get());
        if (seekOrStop()) {
            av_packet_unref(packet.get()); // a packet of the old position
            continue;
        }
        if (rc < 0) {
            if (rc == AVERROR_EXIT)
                continue;
            // The end of the file, a stalled or failed download: play out what is queued.
            atEnd = true;
            queueEndOfStreams(serial, seekOrStop);
            continue;
        }
        PacketQueue* queue = queueOf(packet->stream_index);
        if (!queue) {
            av_packet_unref(packet.get());
            continue;
        }
        queue->put({std::move(packet), serial}, seekOrStop);
        packet.reset(av_packet_alloc());
    }
}

// --- video thread ---

bool PlaybackSession::present(AVFrame* frame, qint64 ptsUs, int serial, qint64& lastShown,
                              qint64& lastPosted) {
    const qint64 frameUs = m_video.frameDurationUs();
    bool first = false;
    {
        std::unique_lock lock(m_mutex);
        if (serial != m_serial)
            return false;
        if (ptsUs != PlayTime::kNoTime && ptsUs + frameUs / 2 < m_dropBefore)
            return true; // before the seek target: decoded only to get there
        for (;;) {
            if (m_abort.load(std::memory_order_acquire) || serial != m_serial)
                return false;
            if (m_showFirst) {
                m_showFirst = false;
                first = true;
                break;
            }
            if (m_paused) {
                m_cv.wait_for(lock, kSlice);
                continue;
            }
            const qint64 ahead = ptsUs == PlayTime::kNoTime ? 0 : ptsUs - m_clock.now();
            if (ahead <= 0)
                break;
            m_cv.wait_for(lock, std::min<milliseconds>(kSlice, milliseconds(ahead / 1000 + 1)));
        }
    }
    const qint64 pts = ptsUs == PlayTime::kNoTime ? lastShown + frameUs : ptsUs;
    if (!first && m_clock.now() - pts > kLateUs)
        return true; // too late to be worth converting
    QImage image = m_video.toImage(frame);
    {
        std::lock_guard lock(m_frameMutex);
        m_frame = std::move(image);
    }
    m_events.frame();
    if (first || pts - lastPosted >= kPositionEveryUs || pts < lastPosted) {
        m_events.position(std::max<qint64>(0, pts));
        lastPosted = pts;
    }
    lastShown = pts;
    return true;
}

void PlaybackSession::videoMain() {
    const auto stopped = [this] { return m_abort.load(std::memory_order_acquire); };
    int decoding = -1; // serial the decoder holds pictures of
    qint64 lastShown = -kPositionEveryUs;
    qint64 lastPosted = lastShown;
    while (!stopped()) {
        PacketQueue::Item item;
        if (!m_videoPackets.get(item, stopped))
            break;
        if (!current(item.serial))
            continue; // queued before a seek
        if (item.serial != decoding) {
            if (decoding != -1)
                m_video.flush();
            decoding = item.serial;
            lastShown = lastPosted = -kPositionEveryUs;
        }
        m_video.send(item.packet.get());
        AVFrame* frame = nullptr;
        qint64 pts = 0;
        while (m_video.receive(frame, pts))
            if (!present(frame, pts, item.serial, lastShown, lastPosted))
                break;
        if (!item.packet) {
            waitForEnd(Stream::Video, item.serial, lastShown + m_video.frameDurationUs());
            m_video.flush(); // the decoder was drained: make it take packets again
            decoding = -1;
        }
    }
}

// --- audio thread ---

bool PlaybackSession::pushAudio(AudioDecoder::Chunk& chunk, int serial) {
    qint64 dropBefore = 0;
    {
        std::lock_guard lock(m_mutex);
        if (serial != m_serial)
            return false;
        dropBefore = m_dropBefore;
    }
    if (chunk.ptsUs + chunk.durationUs <= dropBefore)
        return true;
    if (chunk.ptsUs < dropBefore) {
        const qint64 frames = (dropBefore - chunk.ptsUs) * AudioChannel::kRate / 1000000;
        chunk.pcm.remove(
            0, std::min<qsizetype>(chunk.pcm.size(), frames * AudioChannel::kBytesPerFrame));
        chunk.ptsUs = dropBefore;
    }
    AudioChannel* channel = m_channel.get(); // set before this thread started
    std::unique_lock lock(m_mutex);
    while (channel->queuedBytes() > kAudioAheadBytes) {
        if (m_abort.load(std::memory_order_acquire) || serial != m_serial)
            return false;
        m_cv.wait_for(lock, milliseconds(10));
    }
    if (serial != m_serial)
        return false;
    channel->push(chunk.pcm.constData(), chunk.pcm.size());
    const qint64 endUs = chunk.ptsUs + qint64(chunk.pcm.size() / AudioChannel::kBytesPerFrame) *
                                           1000000 / AudioChannel::kRate;
    const qint64 queuedUs =
        channel->queuedBytes() / AudioChannel::kBytesPerFrame * 1000000 / AudioChannel::kRate;
    m_clock.syncToAudio(endUs - queuedUs);
    return true;
}

void PlaybackSession::audioMain() {
    const auto stopped = [this] { return m_abort.load(std::memory_order_acquire); };
    int decoding = -1;
    while (!stopped()) {
        PacketQueue::Item item;
        if (!m_audioPackets.get(item, stopped))
            break;
        if (!current(item.serial))
            continue;
        if (item.serial != decoding) {
            if (decoding != -1)
                m_audio.flush();
            decoding = item.serial;
        }
        m_audio.send(item.packet.get());
        AudioDecoder::Chunk chunk;
        while (m_audio.receive(chunk))
            if (!pushAudio(chunk, item.serial))
                break;
        if (!item.packet) {
            waitForEnd(Stream::Audio, item.serial, 0);
            m_audio.flush();
            decoding = -1;
        }
    }
}

// --- the end ---

void PlaybackSession::waitForEnd(Stream stream, int serial, qint64 untilUs) {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_abort.load(std::memory_order_acquire) || serial != m_serial)
            return;
        const bool done =
            stream == Stream::Video ? m_clock.now() >= untilUs : m_channel->queuedBytes() == 0;
        if (done && !m_paused)
            break;
        m_cv.wait_for(lock, kSlice);
    }
    lock.unlock();
    markDone(stream, serial);
}

void PlaybackSession::markDone(Stream stream, int serial) {
    {
        std::lock_guard lock(m_mutex);
        if (serial != m_serial)
            return;
        (stream == Stream::Video ? m_videoDone : m_audioDone) = true;
        const bool all = (m_videoIndex < 0 || m_videoDone) && (m_audioIndex < 0 || m_audioDone);
        if (!all || m_endPosted)
            return;
        m_endPosted = true;
    }
    m_events.ended();
}

const PlayerApi* linkedPlayerApi() {
    static const PlayerApi api{PlayerApi::kVersion,
                               [](std::shared_ptr<GrowingFile> file, Playback::Options options,
                                  Playback::Events events) -> Playback* {
                                   return new PlaybackSession(std::move(file), std::move(options),
                                                              std::move(events));
                               }};
    return &api;
}

} // namespace kovan
