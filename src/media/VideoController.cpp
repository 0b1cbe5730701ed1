#include "media/VideoController.h"

#include "core/JsonParams.h"
#include "core/PrivateFiles.h"
#include "core/Trace.h"
#include "media/GrowingFile.h"
#include "media/mediaDownThread.h"
#include "media/PlayerLibrary.h"
#include "media/PlayTime.h"
#include "media/PositionBar.h"
#include "media/VideoCache.h"

#include <QUrl>

namespace kovan {

namespace {

const QString kFailedCaption = QStringLiteral("加载视频失败.......");
const QString kFailedLabel = QStringLiteral("Error");

// Only web addresses are fetched: a page must not make the client read local files.
bool isWebAddress(const QString& url) {
    const QUrl u(url, QUrl::StrictMode);
    const QString scheme = u.scheme().toLower();
    return u.isValid() && (scheme == u"http" || scheme == u"https") && !u.host().isEmpty();
}

} // namespace

VideoController::VideoController(QObject* parent)
    : QObject(parent), m_playerFolder(PlayerLibrary::defaultFolder()) {
    connect(&m_player, &FFPlayer::fileOpened, this,
            [this](qint64 duration, int, int) { FFPlayerFileOpen(duration); });
    connect(&m_player, &FFPlayer::position, this, &VideoController::FFPlayerPosition);
    connect(&m_player, &FFPlayer::stateChanged, this, &VideoController::FFPlayerState);
    connect(&m_player, &FFPlayer::openFailed, this, [this] { showFailure(); });
}

VideoController::~VideoController() {
    shutdown();
}

void VideoController::setDownloadTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

QString VideoController::cacheFile() const {
    return VideoCache::filePath(m_cacheDir, m_networkUrl);
}

void VideoController::showFailure() {
    trace(QStringLiteral("video: cannot play"));
    m_view.caption = kFailedCaption;
    m_view.timeText = kFailedLabel;
    changed();
}

void VideoController::cancelDownload() {
    // The earlier download would go on writing the figures of the window and, for the same
    // address, into the file the new one empties: it ends now and its events are ignored.
    ++m_downloadId;
    stopDownloads();
    if (m_file)
        m_file->close(); // a write still under way fails and ends it
    m_file.reset();
}

void VideoController::loadVideo(const QString& aInfo) {
    m_view.loadingShown = true;
    m_player.stop(); // closes the read stream of the earlier video
    m_player.setTag(0);
    cancelDownload();
    m_mediaSize = m_mediaDown = m_playDuat = m_duration = 0;
    m_startedAt = -1;
    Q_EMIT barChanged();

    const QJsonObject info = parseJsonObject(aInfo);
    const QString url = jsonText(info, u"url");
    if (url.isEmpty() || !isWebAddress(url) || m_cacheDir.isEmpty()) {
        showFailure();
        return;
    }
    if (!m_player.AVLibLoaded() && !m_player.LoadAVLib(m_playerFolder)) {
        showFailure();
        return;
    }
    m_view.caption = jsonText(info, u"title");
    m_view.timeText = QStringLiteral("载入中...");
    m_networkUrl = url;

    makeFolders(m_cacheDir);
    auto file = std::make_shared<GrowingFile>();
    if (!file->create(cacheFile())) {
        showFailure();
        return;
    }
    m_file = file;
    changed();

    auto* worker = new mediaDownThread(url, file);
    worker->setTimeoutsMs(m_connectTimeoutMs, m_readTimeoutMs);
    const quint64 id = ++m_downloadId;
    connect(worker, &mediaDownThread::DownBegin, this, [this, id](qint64 total) {
        if (id == m_downloadId)
            DownBegin(total);
    });
    connect(worker, &mediaDownThread::DownWork, this, [this, id](qint64 received) {
        if (id == m_downloadId)
            DownWork(received);
    });
    worker->setTerminationHandler(this, [this, id](mediaDownThread* sender) {
        if (id == m_downloadId)
            m_thread.clear();
        m_cancelled.removeAll(sender);
    });
    m_thread = worker;
    worker->start();
}

void VideoController::DownBegin(qint64 total) {
    m_mediaSize = total;
    Q_EMIT barChanged();
}

void VideoController::DownWork(qint64 received) {
    m_mediaDown = received;
    Q_EMIT barChanged();
    if (m_mediaDown > kStartBytes && m_player.tag() == 0)
        startPlayback();
}

void VideoController::startPlayback() {
    m_view.loadingShown = false;
    m_player.setReadTimeout(60000);
    m_player.setVideoFilters(kFilters);
    m_player.setTag(1);
    m_startedAt = m_mediaDown;
    trace(QStringLiteral("video: playback starts at %1 bytes").arg(m_mediaDown));
    if (!m_player.tryOpen(m_file, false)) {
        showFailure(); // the cache file cannot be read: nothing plays
        return;
    }
    m_view.playEnabled = m_view.pauseEnabled = true;
    m_view.playVisible = false;
    m_view.pauseVisible = true;
    m_view.stopEnabled = true;
    changed();
}

void VideoController::FFPlayerFileOpen(qint64 duration) {
    trace(QStringLiteral("video: opened, %1 us").arg(duration));
    m_view.timeText = QStringLiteral("00:00:00");
    m_duration = duration;
    m_playDuat = 0;
    changed();
    Q_EMIT barChanged();
}

void VideoController::FFPlayerPosition(qint64 pts) {
    m_view.timeText = formatPlayTime(pts);
    m_playDuat = pts;
    Q_EMIT barChanged();
    if (pts == m_duration) {
        m_view.playEnabled = m_view.playVisible = true;
        m_view.pauseVisible = false;
        m_view.stopEnabled = false;
    }
    changed();
}

void VideoController::FFPlayerState(FFPlayer::PlayState state) {
    switch (state) {
    case FFPlayer::psPlay:
    case FFPlayer::psResume:
        m_view.stayOnTop = true;
        break;
    case FFPlayer::psPause:
    case FFPlayer::psStep:
        m_view.stayOnTop = false;
        break;
    case FFPlayer::psStop:
        m_view.stayOnTop = false;
        Q_EMIT surfaceCleared();
        break;
    case FFPlayer::psEnd:
        trace(QStringLiteral("video: ended"));
        // Rest paused on the first picture.
        m_player.pause();
        m_player.seek(0, true);
        break;
    }
    changed();
}

void VideoController::btnPlayClick() {
    m_view.playVisible = false;
    m_view.pauseVisible = true;
    if (m_player.paused())
        m_player.resume();
    changed();
}

void VideoController::btnPauseClick() {
    if (!m_player.paused())
        m_player.pause();
    m_view.playVisible = true;
    m_view.pauseVisible = false;
    changed();
}

void VideoController::btnStopClick() {
    m_player.seek(0, false);
    m_player.pause();
    m_view.playVisible = m_view.playEnabled = true;
    m_view.pauseVisible = false;
    changed();
}

void VideoController::posPaeClick(int x, int width) {
    if (!m_player.isOpen())
        return;
    if (const auto target = PositionBar::seekTarget(x, width, m_mediaDown, m_mediaSize, m_duration))
        m_player.seek(*target, false);
}

void VideoController::formClose() {
    m_player.stop();
    m_playDuat = m_mediaSize = m_mediaDown = m_duration = 0;
    m_view.timeText = QStringLiteral("停止");
    Q_EMIT barChanged();
    if (m_thread && m_thread->hasClient())
        m_thread->cancelAtNextProgress();
    changed();
}

void VideoController::shutdown() {
    m_player.stop();
    ++m_downloadId;
    stopDownloads();
}

void VideoController::stopDownloads() {
    if (m_thread) {
        m_thread->requestStop();
        m_cancelled.append(m_thread);
    }
    m_thread.clear();
    m_cancelled.removeAll(nullptr);
}

int VideoController::downloadsRunning() const {
    int n = m_thread && !m_thread->hasEnded() ? 1 : 0;
    for (const QPointer<mediaDownThread>& t : m_cancelled)
        n += t && !t->hasEnded() ? 1 : 0;
    return n;
}

} // namespace kovan
