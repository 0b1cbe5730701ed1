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

} // namespace kovan
