#pragma once

#include "media/AudioDecoder.h"
#include "media/FfmpegHandles.h"
#include "media/GrowingFileIo.h"
#include "media/PacketQueue.h"
#include "media/Playback.h"
#include "media/PlayClock.h"
#include "media/VideoDecoder.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kovan {

class GrowingFile;

// One opened video, played by three threads: demux (owns the format context, reads packets,
// carries out seeks), video (decode, filters, waits for the clock, converts to RGB32 and hands
// the latest picture over) and audio (decode, convert, keeps about 250 ms queued on its
// channel of the audio output; without a sound device there is no audio thread and the
// clock runs on the wall).
//
// The events are called on those threads; the owner hands them to its own thread. Control
// calls (setPaused, seek, frame) come from the owner's thread. Destruction aborts and joins
// everything; every FFmpeg object is owned by this object or its members.
class PlaybackSession final : public Playback {
public:
    PlaybackSession(std::shared_ptr<GrowingFile> file, Options options, Events events);
    ~PlaybackSession() override;
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    // Opens the read side and starts the demux thread, which opens the media. False when the
    // cache file cannot be read.
    bool start() override;
    void setPaused(bool paused) override;
    void seek(qint64 us, bool backward) override;
    QImage frame() const override;
    bool hasAudio() const override;

private:
    enum class Stream { Video, Audio };

    void demuxMain();
    bool openMedia();
    void startDecoders(); // the video and audio threads of the streams that opened
    // Reads packets into the decoders' queues and carries out seeks until aborted.
    void readPackets();
    void seekNow();
    bool seekOrStopWanted() const;         // a queue wait gives way to a seek or the abort
    PacketQueue* queueOf(int streamIndex); // null: a stream that is not played
    // The packet-less items after which the decoders play out what they have.
    void queueEndOfStreams(int serial, const std::function<bool()>& seekOrStop);
    void stopDecoders(); // aborts the queues and joins the decoder threads
    void videoMain();
    void audioMain();
    // Video thread: waits for the picture's time, shows it. False when the serial changed.
    bool present(AVFrame* frame, qint64 ptsUs, int serial, qint64& lastShown, qint64& lastPosted);
    bool pushAudio(AudioDecoder::Chunk& chunk, int serial);
    void waitForEnd(Stream stream, int serial, qint64 untilUs);
    void markDone(Stream stream, int serial);
    bool current(int serial) const; // with m_mutex not held
    static int interruptCallback(void* opaque);

    std::shared_ptr<GrowingFile> m_file;
    Options m_options;
    Events m_events;
    std::atomic<bool> m_abort{false};

    // Demux thread, once the media is open (the decoder threads start after that).
    std::unique_ptr<GrowingFileIo> m_io;
    AVFormatContextPtr m_format; // declared after m_io: closed before the context it reads
    VideoDecoder m_video;        // video thread
    AudioDecoder m_audio;        // audio thread
    int m_videoIndex = -1;
    int m_audioIndex = -1;
    PacketQueue m_videoPackets{96};
    PacketQueue m_audioPackets{256};
    PlayClock m_clock;

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::unique_ptr<AudioChannel> m_channel; // pointer guarded by m_mutex
    bool m_paused = false;
    bool m_seekPending = false;
    qint64 m_seekTarget = 0;
    bool m_seekBackward = false;
    int m_serial = 1;        // bumped by each seek (written by the demux thread)
    qint64 m_dropBefore = 0; // pictures and sound before this are dropped
    bool m_showFirst = true; // the first picture of a serial shows at once, even paused
    bool m_videoDone = false, m_audioDone = false, m_endPosted = false;

    mutable std::mutex m_frameMutex;
    QImage m_frame; // guarded by m_frameMutex

    std::thread m_demuxThread;
    std::thread m_videoThread; // started and joined around the demux thread's life
    std::thread m_audioThread;
};

} // namespace kovan
