#pragma once

#include "media/Playback.h"

#include <QString>

namespace kovan {

// The video player's decoding library (FFmpeg and the hundred libraries it pulls in). It is
// loaded the first time a video plays rather than linked: a client that never plays a video
// neither maps it nor pays for its relocations, in memory and at start-up. Once loaded it
// stays for the rest of the run.
//
// GUI thread only.
class PlayerLibrary {
public:
    // The folder the client looks in: where the build and the installed layout put the library,
    // relative to the executable.
    static QString defaultFolder();
    static QString fileName(); // the library's file name in that folder

    // Loads the library from `folder` (once); its entry table, or null when the file is missing,
    // cannot be loaded or is of another version (the reason goes to the trace).
    static const PlayerApi* load(const QString& folder);
    // The entry table loaded so far, or null.
    static const PlayerApi* loaded();
    // Programs that link the decoding code themselves (tests, benchmarks) hand its table in;
    // load() then answers with it.
    static void useLinked(const PlayerApi* api);
};

} // namespace kovan
