// The sound device and WAV reading on SDL2: the code of libkovan-sound.so (see SoundBackend).

#include "audio/AudioChannel.h"
#include "audio/SoundBackend.h"

#include <alsa/asoundlib.h>
#include <SDL.h>

#include <cstdlib>
#include <memory>

namespace kovan {

namespace {

constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;

bool g_audioReady = false; // SDL's audio subsystem; guarded by the caller's device lock

// libasound writes each device it cannot open to stderr: a dozen lines while SDL tries its ALSA
// devices on a machine without a sound card. SDL reports the failure itself (no device, and
// the client goes silent), so those lines only show with KOVAN_TRACE. The reporter is
// libasound's one process-wide setting (SDL's ALSA driver opens the libasound this library
// links), set before SDL's audio starts, under the caller's device lock.
void silenceAlsaReports(const char*, int, const char*, int, const char*, ...) {}

std::uint32_t openDevice(void (*mix)(void*, std::uint8_t*, int), void* user, int bufferSamples) {
    if (!g_audioReady) {
        if (!std::getenv("KOVAN_TRACE"))
            snd_lib_error_set_handler(&silenceAlsaReports);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return 0;
        g_audioReady = true;
    }
    SDL_AudioSpec want{};
    want.freq = AudioChannel::kRate;
    want.format = kFormat;
    want.channels = AudioChannel::kChannels;
    want.samples = Uint16(bufferSamples);
    want.callback = mix;
    want.userdata = user;
    // No allowed changes: SDL converts to the hardware itself.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device)
        SDL_PauseAudioDevice(device, 0);
    return device;
}

void closeDevice(std::uint32_t device) {
    SDL_CloseAudioDevice(device);
}

// Owners of the SDL objects a conversion makes; each is released on every way out.
struct WavBufferFree {
    void operator()(Uint8* buffer) const noexcept { SDL_FreeWAV(buffer); }
};
struct AudioStreamFree {
    void operator()(SDL_AudioStream* stream) const noexcept { SDL_FreeAudioStream(stream); }
};
using WavBuffer = std::unique_ptr<Uint8, WavBufferFree>;
using AudioStream = std::unique_ptr<SDL_AudioStream, AudioStreamFree>;

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
                                                kFormat, AudioChannel::kChannels,
                                                AudioChannel::kRate));
    if (!stream || SDL_AudioStreamPut(stream.get(), buffer.get(), int(length)) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0)
        return {};
    QByteArray out(SDL_AudioStreamAvailable(stream.get()), Qt::Uninitialized);
    const int got = SDL_AudioStreamGet(stream.get(), out.data(), int(out.size()));
    out.resize(got > 0 ? got : 0);
    return out;
}

} // namespace

const SoundBackendApi* linkedSoundBackend() {
    static const SoundBackendApi api{SoundBackendApi::kVersion, &openDevice, &closeDevice,
                                     &convertWav};
    return &api;
}

} // namespace kovan
