#pragma once

#include <QString>

namespace kovan {

// Which way the bid has to go to reach an alert's price. Fixed when the alert is made or
// edited, from the bid at that moment: below the price → Rise ("升至"), above → Fall ("跌至").
enum class AlertDirection { Rise, Fall };

// Waiting: armed, it triggers when the bid gets to the price. Triggered: it did (at
// triggeredAtMs); a once-alert stays so until the member edits or deletes it, a repeating one
// arms again once the bid is back on its starting side.
enum class AlertState { Waiting, Triggered };

// One price alert of the member's own. A plain value; PriceAlertBook holds them.
struct PriceAlert {
    static constexpr qsizetype kMaxNoteLength = 200; // UTF-16 units

    qint64 id = 0;  // given by the book, unique within a run (not kept in the file)
    QString symbol; // a code of the synced symbol table
    double price = 0;
    AlertDirection direction = AlertDirection::Rise;
    QString note;
    bool repeat = false;
    bool enabled = true;
    AlertState state = AlertState::Waiting;
    qint64 triggeredAtMs = 0; // UTC milliseconds since 1970 of the last trigger; 0: never

    // Whether a bid can still make it trigger or arm again: enabled, and not a once-alert that
    // has triggered. Only these are checked on the sync worker and drawn on charts.
    bool active() const { return enabled && (repeat || state == AlertState::Waiting); }

    bool operator==(const PriceAlert&) const = default;
};

// "升至" / "跌至": the condition as the alerts window and the dialog show it.
QString conditionText(AlertDirection direction);
// "已升至" / "已跌至": what a notice says happened.
QString reachedText(AlertDirection direction);

// `price` with the symbol's decimals (digits after the point; 0: a whole number).
QString priceText(double price, int decimals);

// `note` cut to kMaxNoteLength units, never in the middle of a surrogate pair.
QString cutNote(const QString& note);

} // namespace kovan
