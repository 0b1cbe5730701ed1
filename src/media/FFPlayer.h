#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

namespace kovan {

class GrowingFile;
class Playback;
struct PlayerApi;

// The media player of the video window. Its decoding half (FFmpeg) is a library loaded on the
// first video (LoadAVLib, see PlayerLibrary); sound goes through the client's one audio
// device. It plays a cache file that may still be growing (see GrowingFile) and tells what
// happens through its signals, all delivered on the GUI thread:
//   fileOpened   the media is open: duration (µs, PlayTime::kNoTime when unknown), picture size
//   position     the play position (µs) of the picture just shown; the duration at the end
//   stateChanged psPlay (opened and playing), psPause, psResume, psStop, psEnd (played out)
//   openFailed   the media could not be opened; nothing plays
//   frameReady   a new picture is in currentFrame()
//
// GUI thread only. Events of a video that was stopped or replaced never arrive.
class FFPlayer : public QObject {
    Q_OBJECT
public:
    enum PlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
    Q_ENUM(PlayState)

    explicit FFPlayer(QObject* parent = nullptr);
    ~FFPlayer() override;

    // Milliseconds a read waits at the end of the download before the stream counts as ended.
    void setReadTimeout(int ms) { m_readTimeoutMs = ms; }
    int readTimeout() const { return m_readTimeoutMs; }
    // FFmpeg filter graph text applied to every picture.
    void setVideoFilters(const QString& filters) { m_videoFilters = filters; }
    const QString& videoFilters() const { return m_videoFilters; }

    // Whether the decoding library is loaded (in this player or any other: it is loaded once
    // per run).
    bool AVLibLoaded() const;
    // Loads the decoding library from `folder`; false when it is missing or unusable.
    bool LoadAVLib(const QString& folder);

    // Stops what plays, then opens `file`; false when it cannot even be read or the decoding
    // library is not loaded.
    bool tryOpen(std::shared_ptr<GrowingFile> file, bool paused = false);
    // Stops and closes the media (the read stream too). psStop follows when something was open.
    void stop();
    void pause();
    void resume();
    bool paused() const { return m_paused; }
    // Position in microseconds; `backward` lands on the key frame at or before it, then the
    // pictures up to the position are decoded and dropped.
    void seek(qint64 us, bool backward);
    bool isOpen() const { return m_session != nullptr; }
    bool hasAudio() const;
    qint64 duration() const { return m_duration; }
    QImage currentFrame() const;

    // The window's mark that playback was started for the current video (0 no, 1 yes).
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

Q_SIGNALS:
    void fileOpened(qint64 durationUs, int frameWidth, int frameHeight);
    void position(qint64 ptsUs);
    void stateChanged(kovan::FFPlayer::PlayState state);
    void openFailed(const QString& reason);
    void frameReady();

private:
    // Any thread: runs `step` on the GUI thread unless the video changed meanwhile.
    void post(quint64 generation, std::function<void()> step);

    std::unique_ptr<Playback> m_session;
    quint64 m_generation = 0;                         // GUI thread
    std::shared_ptr<std::atomic<bool>> m_framePosted; // per video, shared with its events
    int m_readTimeoutMs = 60000;
    QString m_videoFilters;
    bool m_paused = false;
    qint64 m_duration = 0;
    int m_tag = 0;
};

} // namespace kovan
