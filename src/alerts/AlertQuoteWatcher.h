#pragma once

#include "alerts/PriceAlertBook.h"
#include "net/SyncDelegates.h"

#include <functional>

namespace kovan {

// The price alerts' check of every sync reply, on the sync worker right after the reply's
// bids went into the quote table: the bids of the watched symbols (ReplyBids) through the
// crossing rule (PriceAlertBook::check). A reply that changed an alert (a trigger or a re-arm)
// is handed on in one piece, one step per reply; a reply that changed none costs a look at the
// watched codes and nothing else.
//
// Threads: quotesUpdated runs on the sync worker. `deliver` is called there too and must not
// wait (the module queues the step to the GUI thread). The book outlives the watcher.
class AlertQuoteWatcher : public IQuoteWatcher {
public:
    using Deliver = std::function<void(AlertCheck check)>;
    using Clock = std::function<qint64()>; // UTC milliseconds since 1970

    AlertQuoteWatcher(PriceAlertBook& book, Deliver deliver, Clock clock = {});

    void quotesUpdated(const QJsonArray& rates, const QJsonObject& symbolInfo) override;

private:
    PriceAlertBook& m_book;
    Deliver m_deliver;
    Clock m_clock;
};

} // namespace kovan
