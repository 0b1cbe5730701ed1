#pragma once

#include "alerts/PriceAlert.h"
#include "alerts/PriceAlertBook.h"
#include "alerts/SymbolQuote.h"

#include <QString>

#include <optional>

namespace kovan {

// What the member filled in in the alert dialog.
struct AlertDraft {
    qint64 id = 0; // the alert being edited; 0 for a new one
    QString symbol;
    double price = 0;
    // The direction the member picked; only asked for (and only used) while the symbol has no
    // bid yet.
    std::optional<AlertDirection> chosenDirection;
    QString note;
    bool repeat = false;
    bool enabled = true;
};

// The alert a draft makes, or why it makes none (a text for the dialog).
struct DraftOutcome {
    std::optional<PriceAlert> alert;
    QString refusal;
};

// The dialog's rules, against the symbol as it is synced now (`quote`: nullopt when the table
// does not hold it). The price goes onto the symbol's grid (roundToPip); the direction comes
// from the bid (below the price: rises to; above: falls to; equal: refused as already there),
// or without a bid from the member's pick. A new alert is waiting; an edited one is armed
// again by the book.
DraftOutcome makeAlert(const AlertDraft& draft, const std::optional<SymbolQuote>& quote);

// What the dialog says when the book refuses.
QString refusalText(PriceAlertBook::Outcome outcome);

} // namespace kovan
