#include "notify/InstantTrade.h"

#include "core/JsonParams.h"
#include "core/Utils.h"

#include <QJsonArray>
#include <QLocale>

namespace kovan {

namespace {

// The text value of a key as the strip shows it: a number as the page wrote it (1918.7 stays
// "1918.7", not its 17-digit expansion), anything else as jsonText reads it.
QString shownText(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    if (v.isDouble() && double(v.toInteger()) != v.toDouble())
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return jsonText(o, key);
}

} // namespace

std::optional<InstantTrade> InstantTrade::of(const QJsonObject& realtimeSignals) {
    const QJsonArray items = realtimeSignals.value(u"items").toArray();
    if (jsonInt(realtimeSignals, u"itemcount") <= 0 || items.isEmpty())
        return std::nullopt;
    return ofSignal(items.at(0).toObject());
}

InstantTrade InstantTrade::ofSignal(const QJsonObject& signal) {
    InstantTrade t;
    const QString type = jsonText(signal, u"postype").toUpper();
    t.postype = orderTypeName(type);
    t.sell = type.contains(u"SELL");
    t.sym = shownText(signal, u"symname");
    t.dlstr = shownText(signal, u"cddl");
    t.price = shownText(signal, u"openprice");
    t.sl = priceText(jsonReal(signal, u"sl"), shownText(signal, u"sl"));
    t.tp = priceText(jsonReal(signal, u"tp"), shownText(signal, u"tp"));
    t.id = jsonInt(signal, u"id");
    return t;
}

QString InstantTrade::priceText(double value, const QString& text) {
    return value <= 0.05 ? QStringLiteral("--") : text;
}

} // namespace kovan
