#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace kovan {

// The texts of the floating bar's instant-trade strip for the first held signal.
struct InstantTrade {
    QString postype;   // to_postype: the Chinese order type, empty for an unknown one
    bool sell = false; // dsell shows (and dbuy hides) when true, the reverse otherwise
    QString sym;       // to_sym
    QString dlstr;     // to_dlstr: entry time
    QString price;     // to_price: opening price
    QString sl;        // to_sl: "--" for 0.05 or less
    QString tp;        // to_tp: likewise
    qint64 id = 0;     // the shown signal id (Label17.Tag)

    bool operator==(const InstantTrade&) const = default;

    // From `realtimeSignals`: nothing when it holds no signal (itemcount 0 or less, or no
    // items), which leaves the strip's texts as they are and sets the shown id to 0.
    static std::optional<InstantTrade> of(const QJsonObject& realtimeSignals);
    // From one signal object (missing keys give empty texts, "--" and id 0).
    static InstantTrade ofSignal(const QJsonObject& signal);
    // "--" when `value` is 0.05 or less, otherwise `text`.
    static QString priceText(double value, const QString& text);
};

} // namespace kovan
