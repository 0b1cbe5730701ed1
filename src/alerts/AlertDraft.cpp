#include "alerts/AlertDraft.h"

#include "alerts/AlertCrossing.h"

#include <cmath>

namespace kovan {

DraftOutcome makeAlert(const AlertDraft& draft, const std::optional<SymbolQuote>& quote) {
    if (!quote)
        return {std::nullopt, QStringLiteral("该品种不在行情列表中")};
    const double price = roundToPip(draft.price, quote->minpip, quote->decimals);
    if (!std::isfinite(price) || price <= 0)
        return {std::nullopt, QStringLiteral("请输入大于 0 的价格")};
    std::optional<AlertDirection> direction;
    if (quote->bid) {
        direction = directionFromBid(price, *quote->bid);
        if (!direction)
            return {std::nullopt, QStringLiteral("当前买价已在此价位")};
    } else {
        direction = draft.chosenDirection;
        if (!direction)
            return {std::nullopt, QStringLiteral("尚无买价，请选择提醒方向")};
    }
    PriceAlert a;
    a.id = draft.id;
    a.symbol = quote->code;
    a.price = price;
    a.direction = *direction;
    a.note = cutNote(draft.note);
    a.repeat = draft.repeat;
    a.enabled = draft.enabled;
    return {a, QString()};
}

QString refusalText(PriceAlertBook::Outcome outcome) {
    switch (outcome) {
    case PriceAlertBook::Outcome::Done:
        return QString();
    case PriceAlertBook::Outcome::TooMany:
        return QStringLiteral("最多可设置 %1 个价格提醒，请先删除不再需要的提醒")
            .arg(PriceAlertBook::kMaxAlerts);
    case PriceAlertBook::Outcome::NotFound:
        return QStringLiteral("该提醒已被删除");
    case PriceAlertBook::Outcome::Invalid:
        break;
    }
    return QStringLiteral("提醒内容无效");
}

} // namespace kovan
