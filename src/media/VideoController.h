#pragma once

#include "media/FFPlayer.h"
#include "media/mediaDownThread.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace kovan {

class GrowingFile;

// What the video window does, without its widgets: loading a video into the cache, starting
// playback once more than 524288 bytes have arrived, the buttons, the position bar's figures
// and clicks, closing. The window (TvdoForm) shows view() whenever viewChanged is emitted and
// repaints its bar on barChanged.
//
// GUI thread only. The download's progress arrives here queued from its thread; events of a
// download that is no longer the current one are ignored.
class VideoController : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kStartBytes = 524288;
    static inline const QString kFilters = QStringLiteral("hue=b=0:s=1:H=0");

    struct View {
        QString caption;
        QString timeText = QStringLiteral("载入中...");
        bool loadingShown = true;
        bool playVisible = true;
        bool playEnabled = true;
        bool pauseVisible = false;
        bool pauseEnabled = true;
        bool stopEnabled = true;
        bool stayOnTop = false;
    };

    explicit VideoController(QObject* parent = nullptr);
    ~VideoController() override;

    // The folder of cache files ("<program dir>cache" in the client); until it is set no
    // video is downloaded.
    void setCacheDir(const QString& dir) { m_cacheDir = dir; }
    const QString& cacheDir() const { return m_cacheDir; }
    // Where the decoding library is loaded from on the first video (PlayerLibrary's folder
    // unless set).
    void setPlayerFolder(const QString& dir) { m_playerFolder = dir; }
    // Download time-outs (tests); 60000 ms each by default.
    void setDownloadTimeoutsMs(int connectMs, int readMs);

    // aInfo: JSON {url, title}.
    void loadVideo(const QString& aInfo);
    void btnPlayClick();
    void btnPauseClick();
    void btnStopClick();
    // A click `x` pixels from the left end of a bar `width` pixels wide.
    void posPaeClick(int x, int width);
    // The window closes: stop, zero the figures, cancel the download at its next step.
    void formClose();
    // Exit: the download and the player end now.
    void shutdown();

    const View& view() const { return m_view; }
    FFPlayer& player() { return m_player; }
    const QString& networkUrl() const { return m_networkUrl; }
    // The download of the current video; null when none runs.
    mediaDownThread* downloadThread() const { return m_thread.data(); }
    // Downloads started here that have not ended yet: the current one and those a later video
    // or exit cancelled (they end at their transfer's next check, within a few milliseconds).
    int downloadsRunning() const;
    qint64 playDuat() const { return m_playDuat; }
    qint64 mediaSize() const { return m_mediaSize; }
    qint64 mediaDown() const { return m_mediaDown; }
    qint64 duration() const { return m_duration; }
    // The figure FMediaDown had when playback was started (-1: not started). Tests.
    qint64 startedAtBytes() const { return m_startedAt; }
    QString cacheFile() const;

Q_SIGNALS:
    void viewChanged();
    void barChanged();
    // The player stopped: the surface shows no picture.
    void surfaceCleared();

private:
    void showFailure();
    void cancelDownload();
    // Asks the current download to end and keeps it with the cancelled ones.
    void stopDownloads();
    void DownBegin(qint64 total);
    void DownWork(qint64 received);
    void startPlayback();
    void FFPlayerFileOpen(qint64 duration);
    void FFPlayerPosition(qint64 pts);
    void FFPlayerState(FFPlayer::PlayState state);
    void changed() { Q_EMIT viewChanged(); }

    FFPlayer m_player;
    View m_view;
    QString m_cacheDir;
    QString m_playerFolder;
    QString m_networkUrl;
    std::shared_ptr<GrowingFile> m_file; // videoWriteStream of the current video
    QPointer<mediaDownThread> m_thread;
    // Cancelled downloads until they end. The worker table frees each once it has ended (see
    // WorkerThread); the GUI thread never waits for one.
    QList<QPointer<mediaDownThread>> m_cancelled;
    quint64 m_downloadId = 0; // the current download's number
    qint64 m_playDuat = 0;
    qint64 m_mediaSize = 0;
    qint64 m_mediaDown = 0;
    qint64 m_duration = 0;
    qint64 m_startedAt = -1;
    int m_connectTimeoutMs = 60000;
    int m_readTimeoutMs = 60000;
};

} // namespace kovan
