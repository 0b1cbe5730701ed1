#include "alerts/PriceAlert.h"

#include <algorithm>

namespace kovan {

QString conditionText(AlertDirection direction) {
    return direction == AlertDirection::Rise ? QStringLiteral("升至") : QStringLiteral("跌至");
}

QString reachedText(AlertDirection direction) {
    return direction == AlertDirection::Rise ? QStringLiteral("已升至") : QStringLiteral("已跌至");
}

QString priceText(double price, int decimals) {
    return QString::number(price, 'f', std::clamp(decimals, 0, 10));
}

QString cutNote(const QString& note) {
    qsizetype n = note.size();
    if (n <= PriceAlert::kMaxNoteLength)
        return note;
    n = PriceAlert::kMaxNoteLength;
    if (note.at(n - 1).isHighSurrogate() && note.at(n).isLowSurrogate())
        --n;
    return note.left(n);
}

} // namespace kovan
