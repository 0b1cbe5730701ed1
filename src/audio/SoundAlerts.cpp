#include "audio/SoundAlerts.h"

#include "audio/ThreadSNPS.h"
#include "core/PrivateFiles.h"
#include "net/rfdThread.h"

#include <utility>

#include <QFileInfo>

namespace kovan {

SoundAlerts::SoundAlerts(const QString& soundDir, const Endpoints& endpoints, QObject* parent)
    : QObject(parent), m_soundDir(soundDir), m_endpoints(endpoints),
      m_connectTimeoutMs(rfdThread::kDefaultConnectTimeoutMs),
      m_readTimeoutMs(rfdThread::kDefaultReadTimeoutMs) {
    if (!m_soundDir.endsWith(u'/'))
        m_soundDir += u'/';
}

void SoundAlerts::setDownloadTimeoutsMs(int connectMs, int readMs) {
    m_connectTimeoutMs = connectMs;
    m_readTimeoutMs = readMs;
}

SoundAlerts::~SoundAlerts() {
    if (m_sound)
        m_sound->cutOff();
}

QString SoundAlerts::localPath(const QString& audFile) const {
    return m_soundDir + audFile;
}

QString SoundAlerts::remotePath(const QString& audFile) {
    return QStringLiteral("/filelist/sound/") + audFile;
}

void SoundAlerts::play(const QString& path) {
    if (m_player) {
        m_player(path);
    } else if (!m_sound) {
        startPlayback(path);
    } else {
        m_nextSound = path;
        m_sound->cutOff();
    }
}

void SoundAlerts::startPlayback(const QString& path) {
    auto* sound = new ThreadSNPS(path);
    m_sound = sound;
    sound->setTerminationHandler(this, [this](ThreadSNPS*) {
        m_sound = nullptr;
        if (!m_nextSound.isEmpty())
            startPlayback(std::exchange(m_nextSound, QString()));
    });
    sound->start();
}

QString SoundAlerts::audioPlay(const QString& audFile) {
    const QString ok = QStringLiteral("1");
    if (audFile.isEmpty() || audFile.contains(u'/') || audFile.contains(u'\\') || audFile == u"." ||
        audFile == u"..")
        return ok;
    const QString local = localPath(audFile);
    if (QFileInfo::exists(local)) {
        play(local);
        return ok;
    }
    if (m_fetching.contains(audFile) || m_waiting.contains(audFile))
        return ok; // it plays when it arrives
    if (m_fetching.size() < kMaxFetches)
        startFetch(audFile);
    else if (m_waiting.size() < kMaxWaiting)
        m_waiting.append(audFile);
    return ok;
}

void SoundAlerts::startFetch(const QString& audFile) {
    makeFolders(m_soundDir);
    m_fetching.insert(audFile);
    auto* fetch =
        new rfdThread(remotePath(audFile), localPath(audFile), m_endpoints.pageServer.root());
    fetch->setTimeoutsMs(m_connectTimeoutMs, m_readTimeoutMs);
    fetch->setTerminationHandler(this, [this, audFile](rfdThread* sender) {
        m_fetching.remove(audFile);
        audioDown(sender);
        while (m_fetching.size() < kMaxFetches && !m_waiting.isEmpty())
            startFetch(m_waiting.takeFirst());
    });
    fetch->start();
}

void SoundAlerts::audioDown(rfdThread* sender) {
    try {
        if (QFileInfo::exists(sender->dstFile()))
            play(sender->dstFile());
    } catch (...) {
        // An alert that cannot sound stays silent.
    }
    Q_EMIT fetchFinished(sender->dstFile(), sender->stored());
}

QString SoundAlerts::audopenimgClick(const QString&) {
    m_audopenTag = 0;
    Q_EMIT switchChanged(false);
    return QStringLiteral("1");
}

QString SoundAlerts::audcloseimgClick(const QString&) {
    m_audopenTag = 1;
    Q_EMIT switchChanged(true);
    return QStringLiteral("1");
}

} // namespace kovan
