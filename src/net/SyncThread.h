#pragma once

#include "core/AppRunningFlag.h"
#include "core/Endpoints.h"
#include "core/NewsList.h"
#include "core/SessionState.h"
#include "core/SyncTables.h"
#include "net/PollingWorker.h"
#include "net/SyncDelegates.h"

#include <QString>

#include <atomic>
#include <mutex>

namespace kovan {

class GuiRelay;
class HttpClient;

// Timing of the sync loop. Tests shorten it; the program uses the defaults.
struct SyncOptions {
    int pollPeriodMs = 1000;      // sleep after each cycle
    int connectTimeoutMs = 60000; // sync request
    int readTimeoutMs = 60000;
};

// What the sync loop reads and writes besides the pages and the ticker: the session (its id
// goes into every request, a reply may replace it), the sync tables and the news list it
// rewrites, appRunning, and the data server. All of them outlive every sync worker, and so
// does the quote watcher when one is given.
struct SyncContext {
    SessionState& session;
    SharedSyncTables& tables;
    NewsList& news;
    const AppRunningFlag& appRunning;
    const Endpoints& endpoints; // the data server's is read as each worker is made
    // Checks each reply's bids after the quote table took them (price alerts); may be null.
    IQuoteWatcher* quoteWatcher = nullptr;
};

// The sync worker: polls GET <data server root>/sync/<sessid> once per period while
// appRunning holds, and feeds the replies through SyncReplyProcessor into the sync tables and
// the news list. One HttpClient for the worker's life keeps the connection between cycles
// (PollingWorker: the client, the start delay, the loop and its sleep).
//
// It ends at once (endedByError() true) when a request fails or a reply is unusable; it ends
// normally when appRunning is found cleared after a cycle and its sleep. SyncController
// restarts it; use that rather than this class directly.
//
// Threads: constructed and started on the GUI thread, freed by the worker table after its
// termination handler ran (WorkerThread). `relay` lives on the GUI thread: the worker runs
// `pages->checkRefresh()` and `pages->forceReload("all")` there through it and waits for
// them. `ticker` and the context's quote watcher are called on the worker's thread. endedByError()
// and cyclesRun() are for the termination handler.
class SyncThread : public SelfFreeingWorker<SyncThread, PollingWorker> {
    Q_OBJECT
public:
    SyncThread(const SyncContext& context, ISectionPages* pages, IRatesTicker* ticker,
               GuiRelay* relay, const SyncOptions& options, int startDelayMs,
               QObject* parent = nullptr);
    ~SyncThread() override;

    bool endedByError() const { return m_endedByError.load(std::memory_order_acquire); }
    QString errorText() const;
    int cyclesRun() const { return m_cycles.load(std::memory_order_acquire); }

    // requestStop() (any thread) ends the worker soon: the request in progress is cancelled,
    // a sleep cut short.

protected:
    // Polls while appRunning holds; a sleep is not cut short when it is cleared.
    bool keepPolling() const override { return m_context.appRunning.isSet(); }
    // One request, then the poll period; a failure ends the worker (endedByError).
    std::optional<int> runCycle(HttpClient& client) override;

private:
    enum class CycleResult { Continue, Failed };
    CycleResult requestAndProcess(HttpClient& client);
    void onGuiThread(const std::function<void()>& step);

    SyncContext m_context;
    ISectionPages* m_pages;
    IRatesTicker* m_ticker;
    GuiRelay* m_relay;
    SyncOptions m_options;
    QString m_root; // "http://host:port", taken on construction

    std::atomic<bool> m_endedByError{false};
    std::atomic<int> m_cycles{0};
    mutable std::mutex m_errorMutex;
    QString m_error; // guarded by m_errorMutex
};

} // namespace kovan
