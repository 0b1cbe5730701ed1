#include "net/AlertAudio.h"

#include "net/DefaultAlertSound.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <SDL.h>

namespace kovan {

namespace {

// The format the device is opened with; every sound is converted to it.
constexpr int kRate = 44100;
constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
constexpr Uint8 kChannels = 2;
constexpr Uint16 kBufferSamples = 1024;
constexpr int kBytesPerFrame = 2 * kChannels;

// WAV bytes → samples in the device format; empty when SDL does not take the bytes.
QByteArray convertWav(const QByteArray& wav) {
    if (wav.isEmpty())
        return {};
    SDL_RWops* rw = SDL_RWFromConstMem(wav.constData(), int(wav.size()));
    if (!rw)
        return {};
    SDL_AudioSpec wavSpec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &wavSpec, &buffer, &length))
        return {};
    QByteArray out;
    SDL_AudioStream* stream = SDL_NewAudioStream(wavSpec.format, wavSpec.channels, wavSpec.freq,
                                                 kFormat, kChannels, kRate);
    if (stream) {
        if (SDL_AudioStreamPut(stream, buffer, int(length)) == 0 &&
            SDL_AudioStreamFlush(stream) == 0) {
            out.resize(SDL_AudioStreamAvailable(stream));
            const int got = SDL_AudioStreamGet(stream, out.data(), int(out.size()));
            out.resize(got > 0 ? got : 0);
        }
        SDL_FreeAudioStream(stream);
    }
    SDL_FreeWAV(buffer);
    return out;
}

} // namespace

AlertAudio& AlertAudio::instance() {
    static AlertAudio audio;
    return audio;
}

bool AlertAudio::ensureDevice() {
    if (m_device)
        return true;
    if (!m_sdlReady) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        m_sdlReady = true;
    }
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = kFormat;
    want.channels = kChannels;
    want.samples = kBufferSamples;
    want.callback = nullptr; // queued audio
    // No allowed changes: SDL converts to the hardware itself, the queue takes our format.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    return m_device != 0;
}

void AlertAudio::closeDevice() {
    if (!m_device)
        return;
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
}

AlertAudio::Result AlertAudio::playToEnd(const QString& wavPath, bool* usedDefault) {
    QFile file(wavPath);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return playBytesToEnd(bytes, usedDefault);
}

AlertAudio::Result AlertAudio::playBytesToEnd(const QByteArray& wav, bool* usedDefault) {
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
        if (pcm.isEmpty() || !ensureDevice())
            return Result::NoDevice;
        mine = ++m_generation;
        SDL_ClearQueuedAudio(m_device);
        if (SDL_QueueAudio(m_device, pcm.constData(), Uint32(pcm.size())) != 0) {
            closeDevice();
            return Result::NoDevice;
        }
        SDL_PauseAudioDevice(m_device, 0);
        m_started.fetch_add(1, std::memory_order_relaxed);
    }

    // Wait for the queue to drain, then one device buffer more. The deadline (twice the
    // length plus a second) keeps a stalled device from holding the worker for ever.
    const qint64 lengthMs = qint64(pcm.size()) / kBytesPerFrame * 1000 / kRate;
    const qint64 bufferMs = qint64(kBufferSamples) * 1000 / kRate + 1;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QThread::msleep(10);
        std::lock_guard lock(m_mutex);
        if (m_generation != mine)
            return Result::Superseded;
        const bool drained = SDL_GetQueuedAudioSize(m_device) == 0;
        const bool overdue = clock.elapsed() > 2 * lengthMs + 1000;
        if (drained || overdue) {
            if (drained && !overdue) {
                // Let the last buffer reach the speaker; a newer sound may start meanwhile.
                m_mutex.unlock();
                QThread::msleep(bufferMs);
                m_mutex.lock();
                if (m_generation != mine)
                    return Result::Superseded;
            }
            closeDevice();
            return Result::Finished;
        }
    }
}

} // namespace kovan
