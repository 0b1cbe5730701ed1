#include "core/SyncTables.h"

#include "core/ContentSections.h"

namespace kovan {

QJsonObject SyncTables::initialSyncState() {
    QJsonObject state;
    for (const ContentSectionInfo& s : contentSections()) {
        state.insert(QLatin1StringView(s.stampName), 0);
        state.insert(QLatin1StringView(s.changeFlag), 0);
    }
    return state;
}

SyncTables SyncTables::initial() {
    return SyncTables{QJsonObject(), QStringList(), NameValueList(), initialSyncState()};
}

} // namespace kovan
