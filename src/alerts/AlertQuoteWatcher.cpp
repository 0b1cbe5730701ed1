#include "alerts/AlertQuoteWatcher.h"

#include <QDateTime>

namespace kovan {

AlertQuoteWatcher::AlertQuoteWatcher(PriceAlertBook& book, Deliver deliver, Clock clock)
    : m_book(book), m_deliver(std::move(deliver)), m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void AlertQuoteWatcher::quotesUpdated(const QJsonArray& rates, const QJsonObject& symbolInfo) {
    const std::shared_ptr<const QSet<QString>> watched = m_book.watchedSymbols();
    if (watched->isEmpty())
        return;
    const std::vector<ReplyBid> bids = watchedBids(rates, symbolInfo, *watched);
    if (bids.empty())
        return;
    AlertCheck check = m_book.check(bids, m_clock());
    if (check.changed && m_deliver)
        m_deliver(std::move(check));
}

} // namespace kovan
