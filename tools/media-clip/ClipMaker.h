#pragma once

#include <string>

namespace kovan::clip {

// A generated test video: moving colour bands, a sliding box and some grain (so the encoder
// has work to do), H.264 in MP4 with a 440 Hz tone that beeps every second as AAC. With
// `faststart` the index sits at the front, so the file plays while it downloads.
struct ClipSpec {
    int width = 640;
    int height = 360;
    int fps = 25;
    double seconds = 20.0;
    bool audio = true;
    int videoBitRate = 1000000; // bits per second
    bool faststart = true;
    int pattern = 0; // colour scheme: 0 gold, 1 silver
};

// Writes the clip to `path` (replacing it). Empty on success, otherwise the reason.
std::string writeClip(const ClipSpec& shape, const std::string& path);

} // namespace kovan::clip
