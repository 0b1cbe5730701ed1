#include "alerts/ReplyBids.h"

#include "core/JsonParams.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace kovan {

std::vector<ReplyBid> watchedBids(const QJsonArray& rates, const QJsonObject& symbolInfo,
                                  const QSet<QString>& watched) {
    std::vector<ReplyBid> out;
    if (watched.isEmpty())
        return out;
    QHash<QString, size_t> at; // code → its place in `out`
    for (const QJsonValue& element : rates) {
        const QJsonObject rate = element.toObject();
        QString code = jsonText(rate, u"S");
        if (!watched.contains(code))
            continue;
        const auto it = at.constFind(code);
        const size_t i = it == at.cend() ? out.size() : *it;
        if (i == out.size()) {
            at.insert(code, i);
            out.push_back({std::move(code), {}, 0, {}, 0});
        }
        ReplyBid& b = out[i];
        b.bidText = jsonText(rate, u"B");
        bool ok = false;
        const double v = b.bidText.trimmed().toDouble(&ok);
        b.bid = ok ? v : NAN;
    }
    std::vector<ReplyBid> kept;
    kept.reserve(out.size());
    for (ReplyBid& b : out) {
        const QJsonValue entry = symbolInfo.value(b.code);
        if (!std::isfinite(b.bid) || !entry.isObject())
            continue;
        const QJsonObject e = entry.toObject();
        b.showname = jsonText(e, u"showname");
        b.decimals = int(std::clamp<qint64>(jsonInt(e, u"piplen"), 0, 10));
        kept.push_back(std::move(b));
    }
    return kept;
}

} // namespace kovan
