#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QString>

#include <vector>

namespace kovan {

// One watched symbol's bid in a sync reply, with what a notice shows of the symbol.
struct ReplyBid {
    QString code;
    QString bidText; // as the reply sent it
    double bid = 0;  // a finite number
    QString showname;
    int decimals = 0; // the symbol's piplen
};

// The bids of a sync reply's rate array for the codes in `watched` that the symbol table
// (`symbolInfo`, code → {showname, minpip, piplen, basepip}) holds, in the order of the reply.
// A code that comes twice counts with its last bid, the one the quote table keeps; a bid that
// is not a finite number (an empty text, "abc", "nan") is left out, and so is a code the
// symbol table no longer holds. Any thread; the objects are the caller's copies.
std::vector<ReplyBid> watchedBids(const QJsonArray& rates, const QJsonObject& symbolInfo,
                                  const QSet<QString>& watched);

} // namespace kovan
