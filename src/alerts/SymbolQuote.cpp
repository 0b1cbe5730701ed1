#include "alerts/SymbolQuote.h"

#include "alerts/PriceAlert.h"
#include "core/JsonParams.h"

#include <algorithm>
#include <cmath>

namespace kovan {

QString SymbolQuote::label() const {
    return showname == code ? code : showname + QStringLiteral(" (") + code + u')';
}

std::optional<SymbolQuote> symbolQuote(const SyncTables& tables, const QString& code) {
    const QJsonValue entry = tables.symbolInfo.value(code);
    if (code.isEmpty() || !entry.isObject())
        return std::nullopt;
    const QJsonObject e = entry.toObject();
    SymbolQuote q;
    q.code = code;
    q.showname = jsonText(e, u"showname");
    if (q.showname.isEmpty())
        q.showname = code;
    q.minpip = std::max(0.0, jsonReal(e, u"minpip"));
    if (!std::isfinite(q.minpip))
        q.minpip = 0;
    q.decimals = int(std::clamp<qint64>(jsonInt(e, u"piplen"), 0, 10));
    q.bidText = tables.quoteTable.value(QString(code + QStringLiteral("_BID")));
    bool ok = false;
    const double bid = q.bidText.trimmed().toDouble(&ok);
    if (ok && std::isfinite(bid))
        q.bid = bid;
    return q;
}

std::vector<SymbolQuote> symbolQuotes(const SyncTables& tables) {
    std::vector<SymbolQuote> out;
    for (auto it = tables.symbolInfo.constBegin(); it != tables.symbolInfo.constEnd(); ++it)
        if (std::optional<SymbolQuote> q = symbolQuote(tables, it.key()))
            out.push_back(std::move(*q));
    return out;
}

double roundToPip(double price, double minpip, int decimals) {
    if (!std::isfinite(price))
        return price;
    double v = price;
    if (minpip > 0 && std::isfinite(minpip))
        v = std::round(price / minpip) * minpip;
    return priceText(v, decimals).toDouble();
}

} // namespace kovan
