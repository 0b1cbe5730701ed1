#pragma once

#include "alerts/PriceAlert.h"

#include <QHash>
#include <QString>

#include <cmath>
#include <optional>

namespace kovan {

// The crossing rule: what one bid of a sync reply does to one alert. Plain functions, any
// thread.
//
// An armed (waiting) alert triggers when the bid reaches or passes its price from its starting
// side: a Rise alert at bid ≥ price, a Fall alert at bid ≤ price. Touching counts, and a bid
// that jumped past the price in one reply, or passed it while the client was off, triggers as
// well: the rule looks at where the bid is, not at where it was. A repeating alert that has
// triggered arms again once a bid is back on its starting side (strictly: below the price for
// Rise, above it for Fall); a once-alert never does. A disabled alert, and a bid that is not a
// finite number, change nothing.
//
// Prices and bids are compared with a tolerance of a billionth of the price: a bid text such as
// "2050.35" and the price 2050.35 of an alert may differ in their last binary digit.
enum class CrossingStep {
    None,
    Trigger, // waiting → triggered
    Rearm,   // triggered (repeating) → waiting
};

CrossingStep crossingStep(const PriceAlert& alert, double bid);

// The direction an alert at `price` gets from the bid now: Rise when the bid is below it, Fall
// when above; nullopt when they are equal (the price is already there) or the bid is not a
// finite number. Without a bid the member picks the direction.
std::optional<AlertDirection> directionFromBid(double price, double bid);

// Whether two prices are equal within the rule's tolerance.
bool samePrice(double a, double b);

// The bids at which the crossing rule does nothing to any of a symbol's alerts: those strictly
// between lo and hi (a bid outside may still do nothing: the band errs on the side of looking).
// The sync worker passes a bid inside its band by without taking the book's lock.
struct QuietBand {
    double lo = -INFINITY;
    double hi = INFINITY;

    bool holds(double bid) const { return lo < bid && bid < hi; }
    // Narrows the band to what leaves `alert` alone too (an alert that is not active leaves
    // it as it is).
    void narrowFor(const PriceAlert& alert);
};

// The symbols the active alerts watch, each with the quiet band of its alerts.
using WatchList = QHash<QString, QuietBand>;

} // namespace kovan
