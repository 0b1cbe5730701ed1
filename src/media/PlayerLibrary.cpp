#include "media/PlayerLibrary.h"

#include "core/Trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <memory>

#ifndef KOVAN_PLAYER_RELDIR
#define KOVAN_PLAYER_RELDIR "../lib/kovan"
#endif
#ifndef KOVAN_PLAYER_FILE
#define KOVAN_PLAYER_FILE "libkovan-player.so"
#endif

namespace kovan {

namespace {

const PlayerApi* g_api = nullptr; // GUI thread
// The loaded library, kept (and never unloaded) for the rest of the run: the sessions, their
// threads and the entry table live in its code.
QLibrary* g_library = nullptr;

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
    auto library = std::make_unique<QLibrary>(path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    const auto entry = reinterpret_cast<PlayerEntry>(library->resolve(kPlayerEntryName));
    const PlayerApi* api = entry ? entry() : nullptr;
    if (!api || api->version != PlayerApi::kVersion || !api->create) {
        trace(QStringLiteral("video: decoding library not usable: %1")
                  .arg(!entry ? library->errorString()
                              : QStringLiteral("its entry table is of another version")));
        return nullptr;
    }
    g_library = library.release();
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
