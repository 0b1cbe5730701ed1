#include "media/PlayerLibrary.h"

#include "core/ClientLibrary.h"
#include "core/Trace.h"

namespace kovan {

namespace {

const PlayerApi* g_api = nullptr; // GUI thread

} // namespace

QString PlayerLibrary::defaultFolder() {
    return clientLibraryFolder();
}

QString PlayerLibrary::fileName() {
    return QStringLiteral("libkovan-player.so");
}

const PlayerApi* PlayerLibrary::load(const QString& folder) {
    if (g_api)
        return g_api;
    QString error;
    const auto* api = static_cast<const PlayerApi*>(
        loadClientLibrary(folder, fileName(), kPlayerEntryName, &error));
    if (api && (api->version != PlayerApi::kVersion || !api->create)) {
        error = QStringLiteral("its entry table is of another version");
        api = nullptr;
    }
    if (!api) {
        trace(QStringLiteral("video: decoding library not usable: ") + error);
        return nullptr;
    }
    g_api = api;
    return g_api;
}

const PlayerApi* PlayerLibrary::loaded() {
    return g_api;
}

void PlayerLibrary::useLinked(const PlayerApi* api) {
    g_api = api;
}

} // namespace kovan
