#include "core/ProgramState.h"

#include "core/ConfigFile.h"
#include "core/ContentSections.h"

#include <QJsonArray>

namespace kovan {

QJsonObject SyncTables::initialSyncState() {
    QJsonObject state;
    for (const ContentSectionInfo& s : contentSections()) {
        state.insert(QLatin1StringView(s.stampName), 0);
        state.insert(QLatin1StringView(s.changeFlag), 0);
    }
    return state;
}

ProgramState::ProgramState() {
    reset();
}

void ProgramState::reset() {
    sync.assign(SyncTables{QString(), QJsonObject(), QStringList(), NameValueList(),
                           SyncTables::initialSyncState()});
    topInfoList.assign({});
    sessInfoText.clear();
    realtimeSignals =
        QJsonObject{{QStringLiteral("itemcount"), 0}, {QStringLiteral("items"), QJsonArray()}};
    settings.clear();
    setAppRunning(false);
}

void ProgramState::saveConfig() const {
    configfile::save(configPath(), settings.lines());
}

ProgramState& program() {
    static ProgramState state;
    return state;
}

bool isUsableSessid(QStringView id) {
    if (id.isEmpty() || id.size() > kMaxSessidLength || id == u"." || id == u"..")
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029)
            return false;
    }
    return true;
}

} // namespace kovan
