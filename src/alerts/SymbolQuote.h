#pragma once

#include "core/SyncTables.h"

#include <QString>

#include <optional>
#include <vector>

namespace kovan {

// What the alert dialog, the alerts window and the chart menu know of a symbol: its entry of
// the synced symbol table and its bid in the quote table.
struct SymbolQuote {
    QString code;
    QString showname;          // the code when the table gives none
    double minpip = 0;         // the price step; 0 when the table gives none
    int decimals = 0;          // piplen
    std::optional<double> bid; // none before the first bid of the symbol
    QString bidText;

    // "现货白银 (XAGRMB)".
    QString label() const;
};

// From a copy of the sync tables (take it with SharedSyncTables::snapshot: the copies share
// their data, and nothing is computed under the tables' lock). nullopt for a code the symbol
// table does not hold.
std::optional<SymbolQuote> symbolQuote(const SyncTables& tables, const QString& code);
// Every symbol of the table, in the table's order.
std::vector<SymbolQuote> symbolQuotes(const SyncTables& tables);

// `price` on the symbol's price grid: the nearest multiple of minpip, written with its
// decimals and read back (so that it compares equal to a bid text of the same digits). A
// symbol without a step only gets its decimals.
double roundToPip(double price, double minpip, int decimals);

} // namespace kovan
