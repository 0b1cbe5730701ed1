#include "alerts/AlertCrossing.h"

#include <algorithm>
#include <cmath>

namespace kovan {

namespace {

double tolerance(double price) {
    return 1e-9 * std::max(1.0, std::abs(price));
}

} // namespace

bool samePrice(double a, double b) {
    return std::abs(a - b) <= tolerance(b);
}

CrossingStep crossingStep(const PriceAlert& alert, double bid) {
    if (!alert.enabled || !std::isfinite(bid))
        return CrossingStep::None;
    const double eps = tolerance(alert.price);
    const bool rise = alert.direction == AlertDirection::Rise;
    const bool reached = rise ? bid >= alert.price - eps : bid <= alert.price + eps;
    if (alert.state == AlertState::Waiting)
        return reached ? CrossingStep::Trigger : CrossingStep::None;
    const bool backOnStartingSide = rise ? bid < alert.price - eps : bid > alert.price + eps;
    return alert.repeat && backOnStartingSide ? CrossingStep::Rearm : CrossingStep::None;
}

void QuietBand::narrowFor(const PriceAlert& a) {
    if (!a.active())
        return;
    const double eps = tolerance(a.price);
    const bool rise = a.direction == AlertDirection::Rise;
    if (a.state == AlertState::Waiting) {
        // Quiet until the price is reached: below it for rises to, above it for falls to.
        if (rise)
            hi = std::min(hi, a.price - eps);
        else
            lo = std::max(lo, a.price + eps);
    } else {
        // A triggered repeating alert is quiet until the bid is back on its starting side.
        if (rise)
            lo = std::max(lo, a.price - eps);
        else
            hi = std::min(hi, a.price + eps);
    }
}

std::optional<AlertDirection> directionFromBid(double price, double bid) {
    if (!std::isfinite(bid) || !std::isfinite(price) || samePrice(bid, price))
        return std::nullopt;
    return bid < price ? AlertDirection::Rise : AlertDirection::Fall;
}

} // namespace kovan
