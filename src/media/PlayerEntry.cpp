// The decoding library's one exported function (see PlayerLibrary, which loads it).

#include "media/Playback.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const kovan::PlayerApi* kovan_player_api() {
    return kovan::linkedPlayerApi();
}
