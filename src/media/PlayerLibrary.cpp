#include "media/PlayerLibrary.h"

#include "core/Trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#ifndef KOVAN_PLAYER_RELDIR
#define KOVAN_PLAYER_RELDIR "../lib/kovan"
#endif
#ifndef KOVAN_PLAYER_FILE
#define KOVAN_PLAYER_FILE "libkovan-player.so"
#endif

namespace kovan {

namespace {

const PlayerApi* g_api = nullptr; // GUI thread

} // namespace

QString PlayerLibrary::defaultFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QStringLiteral(KOVAN_PLAYER_RELDIR));
}

QString PlayerLibrary::fileName() {
    return QStringLiteral(KOVAN_PLAYER_FILE);
}

const PlayerApi* PlayerLibrary::load(const QString& folder) {
    if (g_api)
        return g_api;
    const QString path = QDir(folder).filePath(fileName());
    // Never unloaded: sessions, their threads and their function tables live in it.
    auto* library = new QLibrary(path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    const auto entry = reinterpret_cast<PlayerEntry>(library->resolve(kPlayerEntryName));
    const PlayerApi* api = entry ? entry() : nullptr;
    if (!api || api->version != PlayerApi::kVersion || !api->create) {
        trace(QStringLiteral("video: decoding library not usable: %1")
                  .arg(entry ? QStringLiteral("version differs") : library->errorString()));
        library->unload();
        delete library;
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
