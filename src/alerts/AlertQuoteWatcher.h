#pragma once

#include "alerts/PriceAlertBook.h"
#include "net/SyncDelegates.h"

#include <functional>
#include <memory>
#include <mutex>

namespace kovan {

// The price alerts' check of every sync reply, on the sync worker right after the reply's
// bids went into the quote table: the bids of the watched symbols (ReplyBids) through the
// crossing rule (PriceAlertBook::check). A reply that changed an alert (a trigger or a re-arm)
// is handed on in one piece, one step per reply. A reply whose watched bids all stay inside
// their symbols' quiet bands changes nothing and costs a hash look-up per rate and a number
// read per watched bid; the book's lock is not even taken.
//
// Threads: quotesUpdated runs on the sync worker. `deliver` is called there too and must not
// wait (the module queues the step to the GUI thread). The book outlives the watcher.
class AlertQuoteWatcher : public IQuoteWatcher {
public:
    using Deliver = std::function<void(AlertCheck check)>;
    using Clock = std::function<qint64()>; // UTC milliseconds since 1970

    AlertQuoteWatcher(PriceAlertBook& book, Deliver deliver, Clock clock = {});

    void quotesUpdated(const std::vector<RateQuote>& rates, const QJsonObject& symbolInfo) override;

private:
    // The watched codes the symbol table holds, worked out again only when the watch list or
    // the table changed (the sync tables hand on the same shared table while it stays).
    const ListedSymbols& listedFor(const std::shared_ptr<const WatchList>& watch,
                                   const QJsonObject& symbolInfo);

    PriceAlertBook& m_book;
    Deliver m_deliver;
    Clock m_clock;
    // One sync worker at a time calls quotesUpdated, one after the other; the lock keeps that
    // so whatever calls it (held for the look-up, never while the book is checked).
    std::mutex m_listedMutex;
    std::shared_ptr<const WatchList> m_listedWatch;
    QJsonObject m_listedSymbols;
    ListedSymbols m_listed;
};

} // namespace kovan
