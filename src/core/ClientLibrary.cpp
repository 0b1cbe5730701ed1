#include "core/ClientLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <memory>
#include <mutex>
#include <vector>

#ifndef KOVAN_LIBRARY_RELDIR
#define KOVAN_LIBRARY_RELDIR "../lib/kovan"
#endif

namespace kovan {

namespace {

// Libraries that answered, kept (and never unloaded) for the run: the objects, threads and
// entry tables they made live in their code.
std::mutex g_keptMutex;
std::vector<std::unique_ptr<QLibrary>> g_kept; // guarded by g_keptMutex

} // namespace

QString clientLibraryFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QStringLiteral(KOVAN_LIBRARY_RELDIR));
}

const void* loadClientLibrary(const QString& folder, const QString& fileName, const char* entryName,
                              QString* error) {
    using Entry = const void* (*)();
    auto library = std::make_unique<QLibrary>(QDir(folder).filePath(fileName));
    library->setLoadHints(QLibrary::PreventUnloadHint);
    const auto entry = reinterpret_cast<Entry>(library->resolve(entryName));
    const void* table = entry ? entry() : nullptr;
    if (!table) {
        if (error)
            *error = entry ? QStringLiteral("no entry table") : library->errorString();
        return nullptr;
    }
    std::lock_guard lock(g_keptMutex);
    g_kept.push_back(std::move(library));
    return table;
}

} // namespace kovan
