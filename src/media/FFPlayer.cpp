#include "media/FFPlayer.h"

#include "audio/AudioOutput.h"
#include "media/GrowingFile.h"
#include "media/Playback.h"
#include "media/PlayerLibrary.h"

#include <QMetaObject>

namespace kovan {

FFPlayer::FFPlayer(QObject* parent) : QObject(parent) {}

FFPlayer::~FFPlayer() {
    m_session.reset(); // joins its threads before the signals go
}

void FFPlayer::post(quint64 generation, std::function<void()> step) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, step = std::move(step)] {
            if (generation == m_generation)
                step();
        },
        Qt::QueuedConnection);
}

bool FFPlayer::AVLibLoaded() const {
    return PlayerLibrary::loaded() != nullptr;
}

bool FFPlayer::LoadAVLib(const QString& folder) {
    return PlayerLibrary::load(folder) != nullptr;
}

bool FFPlayer::tryOpen(std::shared_ptr<GrowingFile> file, bool paused) {
    stop();
    const PlayerApi* api = PlayerLibrary::loaded();
    if (!file || !api)
        return false;
    const quint64 gen = ++m_generation;
    m_paused = paused;
    m_duration = 0;
    auto framePosted = std::make_shared<std::atomic<bool>>(false);
    m_framePosted = framePosted;

    Playback::Events events;
    events.opened = [this, gen](qint64 duration, int w, int h) {
        post(gen, [this, duration, w, h] {
            m_duration = duration;
            Q_EMIT fileOpened(duration, w, h);
            if (!m_paused)
                Q_EMIT stateChanged(psPlay);
        });
    };
    events.failed = [this, gen](const QString& reason) {
        post(gen, [this, reason] { Q_EMIT openFailed(reason); });
    };
    events.position = [this, gen](qint64 pts) { post(gen, [this, pts] { Q_EMIT position(pts); }); };
    events.frame = [this, gen, framePosted] {
        // One pending notice is enough: the surface always takes the newest picture.
        if (!framePosted->exchange(true))
            post(gen, [this, framePosted] {
                framePosted->store(false);
                Q_EMIT frameReady();
            });
    };
    events.ended = [this, gen] {
        post(gen, [this] {
            Q_EMIT position(m_duration);
            Q_EMIT stateChanged(psEnd);
        });
    };
    Playback::Options options;
    options.readTimeoutMs = m_readTimeoutMs;
    options.videoFilters = m_videoFilters;
    options.paused = paused;
    options.openAudio = []() -> std::unique_ptr<AudioChannel> {
        return AudioOutput::instance().open();
    };
    m_session.reset(api->create(std::move(file), std::move(options), std::move(events)));
    if (!m_session->start()) {
        m_session.reset();
        return false;
    }
    return true;
}

void FFPlayer::stop() {
    if (!m_session)
        return;
    m_session.reset();
    const quint64 gen = ++m_generation;
    m_paused = false;
    m_duration = 0;
    post(gen, [this] {
        Q_EMIT stateChanged(psStop);
        Q_EMIT frameReady(); // the surface shows no picture now
    });
}

void FFPlayer::pause() {
    if (!m_session || m_paused)
        return;
    m_paused = true;
    m_session->setPaused(true);
    post(m_generation, [this] { Q_EMIT stateChanged(psPause); });
}

void FFPlayer::resume() {
    if (!m_session || !m_paused)
        return;
    m_paused = false;
    m_session->setPaused(false);
    post(m_generation, [this] { Q_EMIT stateChanged(psResume); });
}

void FFPlayer::seek(qint64 us, bool backward) {
    if (m_session)
        m_session->seek(us, backward);
}

bool FFPlayer::hasAudio() const {
    return m_session && m_session->hasAudio();
}

QImage FFPlayer::currentFrame() const {
    return m_session ? m_session->frame() : QImage();
}

} // namespace kovan
