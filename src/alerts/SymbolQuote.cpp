#include "alerts/SymbolQuote.h"

#include "alerts/PriceAlert.h"
#include "core/JsonParams.h"

#include <algorithm>
#include <cmath>

namespace kovan {

QString SymbolQuote::label() const {
    return showname == code ? code : showname + QStringLiteral(" (") + code + u')';
}

SymbolQuotes::SymbolQuotes(SyncTables tables)
    : m_tables(std::move(tables)), m_quotes(m_tables.quoteTable.lines()) {}

std::optional<SymbolQuote> SymbolQuotes::find(const QString& code) const {
    const QJsonValue entry = m_tables.symbolInfo.value(code);
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
    const qsizetype line = m_quotes.find(QString(code + QStringLiteral("_BID")));
    if (line >= 0)
        q.bidText = NameIndex::valueOf(m_tables.quoteTable.lines().at(line)).toString();
    bool ok = false;
    const double bid = q.bidText.trimmed().toDouble(&ok);
    if (ok && std::isfinite(bid))
        q.bid = bid;
    return q;
}

std::vector<SymbolQuote> SymbolQuotes::all() const {
    std::vector<SymbolQuote> out;
    const QJsonObject& symbols = m_tables.symbolInfo;
    for (auto it = symbols.constBegin(); it != symbols.constEnd(); ++it)
        if (std::optional<SymbolQuote> q = find(it.key()))
            out.push_back(std::move(*q));
    return out;
}

std::optional<SymbolQuote> symbolQuote(const SyncTables& tables, const QString& code) {
    return SymbolQuotes(tables).find(code);
}

std::vector<SymbolQuote> symbolQuotes(const SyncTables& tables) {
    return SymbolQuotes(tables).all();
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
