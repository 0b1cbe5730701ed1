#include "core/SettingsStore.h"

#include "core/ConfigFile.h"

namespace kovan {

void SettingsStore::save() const {
    configfile::save(filePath(), lines());
}

} // namespace kovan
