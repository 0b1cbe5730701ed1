#pragma once

#include "core/AppRunningFlag.h"
#include "core/ClientPart.h"
#include "core/NewsList.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SyncTables.h"

#include <functional>
#include <memory>

namespace kovan {

class IQuoteWatcher;
class IRatesTicker;
class ISectionPages;
class Lifecycle;
class SyncController;

// The server communication part of the client: the one-second sync loop, and the one-job
// workers of this library (API requests, downloads, sounds) as far as exit is concerned.
//
// Needs: the state the sync loop reads and rewrites (session, sync tables, news list,
// appRunning, the data server), the section pages (refreshed and reloaded by the sync loop),
// the rates ticker (started by it) and what checks each reply's bids (the price alerts).
// Offers: the sync controller, once the needs are set.
//
// Start-up: the sync worker starts (once the pages on screen are in, see Needs). Exit: every worker
// of the library is told to stop (requests in flight are cancelled, GUI steps the sync worker waits
// for are dropped), and the exit waits until all of them have ended.
//
// GUI thread only. The module owns the sync controller; it must go before the section pages
// and the ticker it was given.
class NetModule : public ClientPart {
public:
    struct Needs {
        SessionState* session = nullptr;
        SharedSyncTables* syncTables = nullptr;
        NewsList* news = nullptr;
        const AppRunningFlag* appRunning = nullptr;
        const ProgramPaths* paths = nullptr;
        ISectionPages* pages = nullptr;
        IRatesTicker* ticker = nullptr;
        // Checks the bids of every reply (the price alerts); may stay null. Outlives the module.
        IQuoteWatcher* quoteWatcher = nullptr;
        // Calls its argument once the first loads of the pages on screen are in (empty: the
        // sync loop starts with its start-up step). The first poll's work on both ends would
        // otherwise compete with those pages for a small machine's processors; the loop polls
        // once a second, so its first poll may as well come a moment later.
        std::function<void(std::function<void()>)> whenPagesShown = {};
    };

    NetModule();
    ~NetModule();
    NetModule(const NetModule&) = delete;
    NetModule& operator=(const NetModule&) = delete;

    // Once, before the steps are added; every state piece must be given.
    void setNeeds(Needs needs);
    void addSteps(Lifecycle& lifecycle) override;

    SyncController& sync() const { return *m_sync; }

private:
    std::unique_ptr<SyncController> m_sync;
    std::function<void(std::function<void()>)> m_whenPagesShown;
};

} // namespace kovan
