// The sound library's one exported function (see SoundBackend, which loads it).

#include "audio/SoundBackend.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const kovan::SoundBackendApi* kovan_sound_api() {
    return kovan::linkedSoundBackend();
}
