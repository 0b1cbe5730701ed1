#include "net/SoundBackend.h"

#include "core/ClientLibrary.h"
#include "core/Trace.h"

#include <mutex>

namespace kovan {

namespace {

std::mutex g_mutex;
bool g_decided = false;                 // guarded by g_mutex
const SoundBackendApi* g_api = nullptr; // guarded by g_mutex; fixed once decided

const SoundBackendApi* decideLocked(const QString& folder) {
    if (g_decided)
        return g_api;
    g_decided = true;
    QString error;
    const auto* api = static_cast<const SoundBackendApi*>(
        loadClientLibrary(folder, SoundBackend::fileName(), kSoundEntryName, &error));
    if (api && (api->version != SoundBackendApi::kVersion || !api->openDevice ||
                !api->closeDevice || !api->convertWav)) {
        error = QStringLiteral("its entry table is of another version");
        api = nullptr;
    }
    if (!api)
        trace(QStringLiteral("sound: library not usable, sounds stay silent: ") + error);
    g_api = api;
    return g_api;
}

} // namespace

QString SoundBackend::fileName() {
    return QStringLiteral("libkovan-sound.so");
}

const SoundBackendApi* SoundBackend::get() {
    std::lock_guard lock(g_mutex);
    return g_decided ? g_api : decideLocked(clientLibraryFolder());
}

const SoundBackendApi* SoundBackend::loadFrom(const QString& folder) {
    std::lock_guard lock(g_mutex);
    return decideLocked(folder);
}

void SoundBackend::useLinked(const SoundBackendApi* api) {
    std::lock_guard lock(g_mutex);
    g_decided = true;
    g_api = api;
}

} // namespace kovan
