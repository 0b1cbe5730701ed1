#include "net/AlertAudio.h"

#include "net/DefaultAlertSound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <SDL.h>

#include <memory>

namespace kovan {

namespace {

// The format the device is opened with; every sound is converted to it.
constexpr int kRate = AudioOutput::kRate;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr Uint8 kChannels = AudioOutput::kChannels;
constexpr int kBytesPerFrame = AudioOutput::kBytesPerFrame;

// Owners of the SDL objects a conversion makes; each is released on every way out.
struct WavBufferFree {
    void operator()(Uint8* buffer) const noexcept { SDL_FreeWAV(buffer); }
};
struct AudioStreamFree {
    void operator()(SDL_AudioStream* stream) const noexcept { SDL_FreeAudioStream(stream); }
};
using WavBuffer = std::unique_ptr<Uint8, WavBufferFree>;
using AudioStream = std::unique_ptr<SDL_AudioStream, AudioStreamFree>;

// WAV bytes → samples in the device format; empty when SDL does not take the bytes.
QByteArray convertWav(const QByteArray& wav) {
    if (wav.isEmpty())
        return {};
    // SDL_LoadWAV_RW frees the reader itself (freesrc = 1), whether it succeeds or not.
    SDL_RWops* rw = SDL_RWFromConstMem(wav.constData(), int(wav.size()));
    if (!rw)
        return {};
    SDL_AudioSpec wavSpec;
    Uint8* loaded = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &wavSpec, &loaded, &length))
        return {};
    const WavBuffer buffer(loaded);
    const AudioStream stream(SDL_NewAudioStream(wavSpec.format, wavSpec.channels, wavSpec.freq,
                                                kFormat, kChannels, kRate));
    if (!stream || SDL_AudioStreamPut(stream.get(), buffer.get(), int(length)) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0)
        return {};
    QByteArray out(SDL_AudioStreamAvailable(stream.get()), Qt::Uninitialized);
    const int got = SDL_AudioStreamGet(stream.get(), out.data(), int(out.size()));
    out.resize(got > 0 ? got : 0);
    return out;
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
