#pragma once

#include <QString>

#include <mutex>

namespace kovan {

// The client's own libraries that are loaded at run time rather than linked (the video
// player's decoding library, the sound device, the HTTP transport), so that a start maps only
// what the client needs before its first page, and a worker pays for the rest: `<libdir>/kovan` in
// the installed layout and in the build tree, found relative to the executable.

// The folder of those libraries.
QString clientLibraryFolder();

// Loads `folder`/`fileName` and calls its exported `entryName` (a function without arguments
// that returns a pointer to the library's entry table). A library that answered is kept
// loaded for the rest of the run; one that did not is let go again. Null, with the reason in
// `error`, when the file is missing, not a library or has no such entry.
// Any thread.
const void* loadClientLibrary(const QString& folder, const QString& fileName, const char* entryName,
                              QString* error);

// The entry table of one such library, decided once for the run: the library is loaded from
// the client's library folder on the first get() (or from another folder by loadFrom). Null
// for the rest of the run when it could not be loaded; the reason is traced once. Any thread.
class ClientLibraryTable {
public:
    // Whether a table answered by the library is of the version this build expects.
    using Fits = bool (*)(const void* table);

    // `unusable` heads the trace line of a library that could not be used (what the run is
    // left without).
    ClientLibraryTable(const char* fileName, const char* entryName, Fits fits,
                       const char* unusable);

    const void* get();
    // Decides by loading the library from `folder` (before the first get()).
    const void* loadFrom(const QString& folder);
    QString fileName() const { return QString::fromLatin1(m_fileName); }

private:
    const void* decideLocked(const QString& folder);

    const char* const m_fileName;
    const char* const m_entryName;
    const Fits m_fits;
    const char* const m_unusable;
    std::mutex m_mutex;
    bool m_decided = false;        // guarded by m_mutex
    const void* m_table = nullptr; // guarded by m_mutex; fixed once decided
};

} // namespace kovan
