#pragma once

#include "core/NameIndex.h"
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

// The symbols of a copy of the sync tables (take it with SharedSyncTables::snapshot: the copies
// share their data, and nothing is computed under the tables' lock), looked up by code. The
// quote table is indexed once, so that a window of 500 alerts or a list of every symbol costs
// one pass over it. GUI thread (any one thread).
class SymbolQuotes {
public:
    explicit SymbolQuotes(SyncTables tables);

    // nullopt for a code the symbol table does not hold.
    std::optional<SymbolQuote> find(const QString& code) const;
    // Every symbol of the table, in the table's order.
    std::vector<SymbolQuote> all() const;

private:
    SyncTables m_tables;
    NameIndex m_quotes; // views into m_tables.quoteTable's lines, which stay as they are
};

// One look-up, or every symbol, without keeping the index.
std::optional<SymbolQuote> symbolQuote(const SyncTables& tables, const QString& code);
std::vector<SymbolQuote> symbolQuotes(const SyncTables& tables);

// `price` on the symbol's price grid: the nearest multiple of minpip, written with its
// decimals and read back (so that it compares equal to a bid text of the same digits). A
// symbol without a step only gets its decimals.
double roundToPip(double price, double minpip, int decimals);

} // namespace kovan
