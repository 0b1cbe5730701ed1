#pragma once

#include "alerts/AlertCrossing.h"
#include "net/SyncDelegates.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace kovan {

// One watched symbol's bid in a sync reply, and what a notice shows of the symbol.
struct ReplyBid {
    QString code;
    QString bidText; // as the reply sent it
    double bid = 0;  // a finite number
    // From the symbol table, filled in for the bids that triggered (describeSymbol).
    QString showname;
    int decimals = 0; // the symbol's piplen
};

// The watched symbols that the symbol table (`symbolInfo`, code → {showname, minpip, piplen,
// basepip}) holds, each with a slot number 0 … n − 1 and its quiet band.
struct ListedSymbol {
    int slot = 0;
    QuietBand band;
};
using ListedSymbols = QHash<QString, ListedSymbol>;
ListedSymbols listedSymbols(const WatchList& watch, const QJsonObject& symbolInfo);

// The bids of a sync reply's rates for the listed symbols that may change one of their alerts,
// in the order of the reply. A code that comes twice counts with its last bid, the one the
// quote table keeps; a bid that is not a finite number (an empty text, "abc", "nan") is left
// out, and so is one inside its symbol's quiet band (nothing can happen there). Any thread.
//
// The sync worker runs this on every reply, so it reads no more than it must: one hash look-up
// per rate, the bid's number only for a watched code, the symbol table not at all (the listed
// symbols are worked out once per symbol table and watch list: AlertQuoteWatcher keeps them).
std::vector<ReplyBid> watchedBids(const std::vector<RateQuote>& rates, const ListedSymbols& listed);

// The same from the watch list and the symbol table directly: a code the table no longer
// holds is left out.
std::vector<ReplyBid> watchedBids(const std::vector<RateQuote>& rates,
                                  const QJsonObject& symbolInfo, const WatchList& watch);

// Fills in the display name and decimals of the bid's symbol from the symbol table.
void describeSymbol(ReplyBid& bid, const QJsonObject& symbolInfo);

// A bid text as a number: a decimal number as the data server writes it ("2050.35", " 1e3 "),
// blanks around it allowed; nullopt for anything else, and for a number that is not finite.
std::optional<double> bidNumber(QStringView text);

} // namespace kovan
