#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kovan {

// The sound device under AudioOutput and the WAV reading of the alert sounds. It lives in a
// library of its own (libkovan-sound.so, on SDL2), loaded with the first sound, so that a
// client that is never asked to make a sound does not map SDL and the two dozen libraries it
// pulls in.
//
// Format of everything: 44100 Hz, signed 16-bit native endian, two interleaved channels.
struct SoundBackendApi {
    static constexpr int kVersion = 1;
    int version = kVersion;
    // Opens the default output device with `bufferSamples` frames per buffer and starts it;
    // `mix(user, stream, bytes)` fills each buffer on the device's own thread. 0 when there is
    // no driver or no device. Open and close are called under the caller's one device lock.
    std::uint32_t (*openDevice)(void (*mix)(void* user, std::uint8_t* stream, int bytes),
                                void* user, int bufferSamples) = nullptr;
    // Stops the device; returns once no mix call runs any more.
    void (*closeDevice)(std::uint32_t device) = nullptr;
    // WAV bytes → samples in the format above; empty when they are not a WAV it reads. Any
    // thread.
    QByteArray (*convertWav)(const QByteArray& wav) = nullptr;
};

inline constexpr const char* kSoundEntryName = "kovan_sound_api";

// The table of the SDL code linked into this binary (the library itself).
const SoundBackendApi* linkedSoundBackend();

// Which backend the run uses, decided once. Any thread.
class SoundBackend {
public:
    // The backend: the library loaded from the client's library folder on the first call. Null for
    // the rest of the run when it could not be loaded (every sound is then silent, as without a
    // device).
    static const SoundBackendApi* get();
    // Decides the backend by loading the library from `folder` (before the first get()).
    static const SoundBackendApi* loadFrom(const QString& folder);
    static QString fileName();
};

} // namespace kovan
