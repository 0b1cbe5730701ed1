#include "alerts/AlertQuoteWatcher.h"

#include <QDateTime>

namespace kovan {

AlertQuoteWatcher::AlertQuoteWatcher(PriceAlertBook& book, Deliver deliver, Clock clock)
    : m_book(book), m_deliver(std::move(deliver)), m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

const ListedSymbols& AlertQuoteWatcher::listedFor(const std::shared_ptr<const WatchList>& watch,
                                                  const QJsonObject& symbolInfo) {
    // Equal objects that share their data compare at once; a new table once in full.
    if (watch != m_listedWatch || symbolInfo != m_listedSymbols) {
        m_listed = listedSymbols(*watch, symbolInfo);
        m_listedWatch = watch;
        m_listedSymbols = symbolInfo;
    }
    return m_listed;
}

void AlertQuoteWatcher::quotesUpdated(const std::vector<RateQuote>& rates,
                                      const QJsonObject& symbolInfo) {
    const std::shared_ptr<const WatchList> watch = m_book.watchList();
    if (watch->isEmpty())
        return;
    std::vector<ReplyBid> bids;
    {
        std::lock_guard lock(m_listedMutex);
        bids = watchedBids(rates, listedFor(watch, symbolInfo));
    }
    // A change of the alerts since the watch list was taken is seen from the next reply on.
    if (bids.empty())
        return;
    AlertCheck check = m_book.check(bids, m_clock());
    if (!check.changed || !m_deliver)
        return;
    for (AlertTrigger& t : check.triggers)
        describeSymbol(t.bid, symbolInfo);
    m_deliver(std::move(check));
}

} // namespace kovan
