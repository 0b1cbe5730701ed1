#pragma once

#include "core/ProgramState.h"
#include "net/NetModule.h"
#include "net/SyncThread.h"

#include <functional>

namespace kovan::test {

// The program's own state pieces, as the program entry hands them to the sync loop.
inline SyncContext programSyncContext() {
    ProgramState& p = program();
    return {p.session, p.sync, p.topInfoList, p.appRunning, p.paths.endpoints};
}

inline NetModule::Needs
programNetNeeds(ISectionPages* pages, IRatesTicker* ticker,
                std::function<void(std::function<void()>)> whenPagesShown = {}) {
    ProgramState& p = program();
    return {.session = &p.session,
            .syncTables = &p.sync,
            .news = &p.topInfoList,
            .appRunning = &p.appRunning,
            .paths = &p.paths,
            .pages = pages,
            .ticker = ticker,
            .whenPagesShown = std::move(whenPagesShown)};
}

} // namespace kovan::test
