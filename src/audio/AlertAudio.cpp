#include "audio/AlertAudio.h"

#include "audio/DefaultAlertSound.h"
#include "audio/SoundBackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <memory>

namespace kovan {

namespace {

constexpr int kRate = AudioOutput::kRate;
constexpr int kBytesPerFrame = AudioOutput::kBytesPerFrame;

// WAV bytes → samples in the device format; empty when the sound library does not take the
// bytes or is not there.
QByteArray convertWav(const QByteArray& wav) {
    const SoundBackendApi* backend = SoundBackend::get();
    return backend ? backend->convertWav(wav) : QByteArray();
}

} // namespace

AlertAudio& AlertAudio::instance() {
    // The output first, so that it outlives the alerts' channel at static destruction.
    (void)AudioOutput::instance();
    static AlertAudio audio;
    return audio;
}

AlertAudio::Result AlertAudio::playToEnd(const QString& wavPath, bool* usedDefault,
                                         const std::atomic<bool>* stop) {
    QFile file(wavPath);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return playBytesToEnd(bytes, usedDefault, stop);
}

AlertAudio::Result AlertAudio::playBytesToEnd(const QByteArray& wav, bool* usedDefault,
                                              const std::atomic<bool>* stop) {
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    // Conversion happens before the lock, so a long file does not hold up a newer sound.
    QByteArray pcm = convertWav(wav);
    const bool fallback = pcm.isEmpty();
    if (fallback)
        pcm = convertWav(defaultAlertWav());
    if (usedDefault)
        *usedDefault = fallback;

    std::uint64_t mine = 0;
    {
        std::lock_guard lock(m_mutex);
        if (stopped())
            return Result::Superseded;
        if (pcm.isEmpty())
            return Result::NoDevice;
        if (!m_channel)
            m_channel = AudioOutput::instance().open();
        if (!m_channel)
            return Result::NoDevice;
        mine = ++m_generation;
        m_channel->clear();
        m_channel->push(pcm.constData(), pcm.size());
        m_started.fetch_add(1, std::memory_order_relaxed);
    }

    // Wait for the queue to drain, then one device buffer more. The deadline (twice the
    // length plus a second) keeps a stalled device from holding the worker for ever.
    const qint64 lengthMs = qint64(pcm.size()) / kBytesPerFrame * 1000 / kRate;
    const qint64 bufferMs = AudioOutput::bufferMs();
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QThread::msleep(10);
        std::unique_lock lock(m_mutex);
        if (m_generation != mine)
            return Result::Superseded;
        if (stopped()) { // still this sound's channel: silence it
            m_channel.reset();
            return Result::Superseded;
        }
        const bool drained = !m_channel || m_channel->queuedBytes() == 0;
        const bool overdue = clock.elapsed() > 2 * lengthMs + 1000;
        if (!drained && !overdue)
            continue;
        if (!overdue) {
            // Let the last buffer reach the speaker without holding the lock: a newer sound
            // may start meanwhile, and then the channel is no longer this sound's to close.
            lock.unlock();
            QThread::msleep(bufferMs);
            lock.lock();
            if (m_generation != mine)
                return Result::Superseded;
        }
        m_channel.reset();
        return Result::Finished;
    }
}

} // namespace kovan
