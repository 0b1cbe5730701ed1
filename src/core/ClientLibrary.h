#pragma once

#include <QString>

namespace kovan {

// The client's own libraries that are loaded at run time rather than linked (the video
// player's decoding library, the sound device), so that a start maps only what the client
// uses from the first second: `<libdir>/kovan` in the installed layout and in the build tree,
// found relative to the executable.

// The folder of those libraries.
QString clientLibraryFolder();

// Loads `folder`/`fileName` and calls its exported `entryName` (a function without arguments
// that returns a pointer to the library's entry table). A library that answered is kept
// loaded for the rest of the run; one that did not is let go again. Null, with the reason in
// `error`, when the file is missing, not a library or has no such entry.
// Any thread.
const void* loadClientLibrary(const QString& folder, const QString& fileName, const char* entryName,
                              QString* error);

} // namespace kovan
