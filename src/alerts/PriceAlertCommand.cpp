#include "alerts/PriceAlertCommand.h"

#include "alerts/PriceAlert.h"
#include "core/JsonParams.h"

#include <cmath>

namespace kovan {

std::optional<PriceAlertRequest> readPriceAlertRequest(const QString& params,
                                                       const QJsonObject& symbolInfo) {
    const QJsonObject o = commandParamObject(params, "pricealert");
    PriceAlertRequest r;
    r.symbol = jsonText(o, u"SYM");
    r.price = jsonReal(o, u"price"); // 0 for anything but a number or a numeric text
    r.note = cutNote(jsonText(o, u"note"));
    if (r.symbol.isEmpty() || !symbolInfo.value(r.symbol).isObject())
        return std::nullopt;
    if (!std::isfinite(r.price) || r.price <= 0)
        return std::nullopt;
    return r;
}

} // namespace kovan
