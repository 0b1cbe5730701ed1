#include "core/ClientLibrary.h"

#include "core/Trace.h"

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

ClientLibraryTable::ClientLibraryTable(const char* fileName, const char* entryName, Fits fits,
                                       const char* unusable)
    : m_fileName(fileName), m_entryName(entryName), m_fits(fits), m_unusable(unusable) {}

const void* ClientLibraryTable::get() {
    std::lock_guard lock(m_mutex);
    return m_decided ? m_table : decideLocked(clientLibraryFolder());
}

const void* ClientLibraryTable::loadFrom(const QString& folder) {
    std::lock_guard lock(m_mutex);
    return decideLocked(folder);
}

const void* ClientLibraryTable::decideLocked(const QString& folder) {
    if (m_decided)
        return m_table;
    m_decided = true;
    QString error;
    const void* table = loadClientLibrary(folder, fileName(), m_entryName, &error);
    if (table && !m_fits(table)) {
        error = QStringLiteral("its entry table is of another version");
        table = nullptr;
    }
    if (!table)
        trace(QString::fromLatin1(m_unusable) + QStringLiteral(": ") + error);
    m_table = table;
    return m_table;
}

} // namespace kovan
