#include "audio/SoundBackend.h"

#include "core/ClientLibrary.h"

namespace kovan {

namespace {

ClientLibraryTable& table() {
    static ClientLibraryTable t(
        "libkovan-sound.so", kSoundEntryName,
        [](const void* table) {
            const auto* api = static_cast<const SoundBackendApi*>(table);
            return api->version == SoundBackendApi::kVersion && api->openDevice &&
                   api->closeDevice && api->convertWav;
        },
        "sound: library not usable, sounds stay silent");
    return t;
}

} // namespace

QString SoundBackend::fileName() {
    return table().fileName();
}

const SoundBackendApi* SoundBackend::get() {
    return static_cast<const SoundBackendApi*>(table().get());
}

const SoundBackendApi* SoundBackend::loadFrom(const QString& folder) {
    return static_cast<const SoundBackendApi*>(table().loadFrom(folder));
}

} // namespace kovan
