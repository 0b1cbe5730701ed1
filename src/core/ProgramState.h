#pragma once

#include "core/AppRunningFlag.h"
#include "core/NewsList.h"
#include "core/ProgramPaths.h"
#include "core/RealtimeSignals.h"
#include "core/SessionState.h"
#include "core/SettingsStore.h"
#include "core/SyncTables.h"

namespace kovan {

// The program-wide state, as the pieces the client's parts use; each piece's header says
// which threads may touch it and how. The program entry owns the one instance and hands every
// part the pieces it needs (their Needs); only the program entry and tests reach program().
struct ProgramState {
    ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // Back to the values the start-up procedure creates (tests use it between cases). The
    // program folder and the endpoints stay.
    void reset();

    SessionState session;
    SharedSyncTables sync;
    NewsList topInfoList;
    RealtimeSignals realtimeSignals;
    ProgramPaths paths;
    SettingsStore settings{paths.programDir};
    AppRunningFlag appRunning;
};

// The one instance of the process: the composition root's (src/app) and the tests'.
ProgramState& program();

} // namespace kovan
