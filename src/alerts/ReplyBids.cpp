#include "alerts/ReplyBids.h"

#include "core/JsonParams.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kovan {

std::optional<double> bidNumber(QStringView text) {
    text = text.trimmed();
    // Bids are short ASCII numbers: read them without the locale machinery of QString.
    char buffer[64];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return std::nullopt;
        buffer[i] = char(c);
    }
    double v = 0;
    const char* end = buffer + text.size();
    const auto [at, error] = std::from_chars(buffer, end, v);
    if (error != std::errc() || at != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

ListedSymbols listedSymbols(const WatchList& watch, const QJsonObject& symbolInfo) {
    ListedSymbols listed;
    for (auto it = watch.cbegin(); it != watch.cend(); ++it)
        if (symbolInfo.contains(it.key()))
            listed.insert(it.key(), {int(listed.size()), it.value()});
    return listed;
}

std::vector<ReplyBid> watchedBids(const std::vector<RateQuote>& rates,
                                  const ListedSymbols& listed) {
    std::vector<ReplyBid> out;
    if (listed.isEmpty())
        return out;
    // From the last rate back, so that the first one met of a code is the one that counts; a
    // bid that changes nothing costs no more than its look-up and its number.
    std::vector<bool> met(size_t(listed.size()), false);
    for (auto rate = rates.rbegin(); rate != rates.rend(); ++rate) {
        const auto symbol = listed.constFind(rate->code);
        if (symbol == listed.cend() || met[size_t(symbol->slot)])
            continue;
        met[size_t(symbol->slot)] = true;
        const std::optional<double> bid = bidNumber(rate->bid);
        if (bid && !symbol->band.holds(*bid))
            out.push_back({rate->code, rate->bid, *bid, {}, 0});
    }
    std::reverse(out.begin(), out.end()); // the reply's order
    return out;
}

std::vector<ReplyBid> watchedBids(const std::vector<RateQuote>& rates,
                                  const QJsonObject& symbolInfo, const WatchList& watch) {
    return watchedBids(rates, listedSymbols(watch, symbolInfo));
}

void describeSymbol(ReplyBid& bid, const QJsonObject& symbolInfo) {
    const QJsonObject e = symbolInfo.value(bid.code).toObject();
    bid.showname = jsonText(e, u"showname");
    bid.decimals = int(std::clamp<qint64>(jsonInt(e, u"piplen"), 0, 10));
}

} // namespace kovan
