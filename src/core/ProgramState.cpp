#include "core/ProgramState.h"

#include "core/ConfigFile.h"

#include <QJsonArray>

namespace kovan {

QJsonObject SyncTables::initialSyncState() {
    return QJsonObject{{QStringLiteral("LUDsign"), 0}, {QStringLiteral("LUDarts"), 0},
                       {QStringLiteral("LUDplan"), 0}, {QStringLiteral("LUDmkts"), 0},
                       {QStringLiteral("signCHG"), 0}, {QStringLiteral("artsCHG"), 0},
                       {QStringLiteral("planCHG"), 0}, {QStringLiteral("mktsCHG"), 0}};
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
