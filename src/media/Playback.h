#pragma once

#include "audio/AudioChannel.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace kovan {

class GrowingFile;

// One opened video as the player drives it. The decoding half (FFmpeg) lives in a library of
// its own, loaded the first time a video plays (see PlayerLibrary), so everything the window
// side needs of it goes through this interface and the entry table below.
//
// The events are called on the playback's own threads; the owner hands them to its thread.
// Control calls come from the owner's thread. Destruction stops and joins everything.
class Playback {
public:
    struct Options {
        int readTimeoutMs = 60000;
        QString videoFilters;
        bool paused = false;
        // Opens a voice in the client's sound mix; empty, or null returned: no sound, the
        // picture runs on the wall clock.
        std::function<std::unique_ptr<AudioChannel>()> openAudio;
    };
    struct Events {
        std::function<void(qint64 durationUs, int width, int height)> opened;
        std::function<void(const QString& reason)> failed;
        std::function<void(qint64 ptsUs)> position;
        std::function<void()> frame; // a new picture is in frame()
        std::function<void()> ended; // every stream played to its end
    };

    virtual ~Playback() = default;

    // Opens the read side and starts playing in the background. False when the cache file
    // cannot be read.
    virtual bool start() = 0;
    virtual void setPaused(bool paused) = 0;
    // Position in microseconds; `backward` lands on the key frame at or before it. Pictures
    // and sound before the target are decoded and dropped.
    virtual void seek(qint64 us, bool backward) = 0;
    virtual QImage frame() const = 0;
    virtual bool hasAudio() const = 0;
};

// The decoding library's entry table, returned by its one exported function
// (kPlayerEntryName). The version changes whenever this header does, so a stale library left
// beside a newer client is refused instead of being called with the wrong layout.
struct PlayerApi {
    static constexpr int kVersion = 1;
    int version = kVersion;
    Playback* (*create)(std::shared_ptr<GrowingFile> file, Playback::Options options,
                        Playback::Events events) = nullptr;
};

inline constexpr const char* kPlayerEntryName = "kovan_player_api";

// The table of the decoding code linked into this binary (tests, benchmarks and the library
// itself); defined with that code.
const PlayerApi* linkedPlayerApi();

} // namespace kovan
