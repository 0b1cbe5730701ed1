#include "core/ProgramState.h"

namespace kovan {

ProgramState::ProgramState() {
    reset();
}

void ProgramState::reset() {
    session.reset();
    sync.assign(SyncTables::initial());
    topInfoList.assign({});
    realtimeSignals = RealtimeSignals();
    settings.clear();
    appRunning.set(false);
}

ProgramState& program() {
    static ProgramState state;
    return state;
}

} // namespace kovan
