#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace kovan {

// The page command pricealert {"SYM", "price", "note"}: a page of the service offers an alert
// (a signal's take-profit, say), and the add dialog opens filled in with it; the alert exists
// only once the member confirms there.
struct PriceAlertRequest {
    QString symbol;
    double price = 0;
    QString note; // cut to the note's length
};

// The request, or nullopt (the page gets "-1") for a symbol the synced table (`symbolInfo`)
// does not hold or a price that is not a positive number (a JSON number or a numeric text).
// Throws ConversionError for a parameter that is not a JSON object.
std::optional<PriceAlertRequest> readPriceAlertRequest(const QString& params,
                                                       const QJsonObject& symbolInfo);

} // namespace kovan
