#include "alerts/AlertRows.h"

#include <QDateTime>

namespace kovan {

namespace {

QString stateText(const PriceAlert& a, bool synced) {
    if (!a.enabled)
        return QStringLiteral("已停用");
    if (!synced)
        return QStringLiteral("等待（品种未同步）");
    if (a.state == AlertState::Waiting)
        return QStringLiteral("等待中");
    const QString at = QDateTime::fromMSecsSinceEpoch(a.triggeredAtMs)
                           .toLocalTime()
                           .toString(QStringLiteral("MM-dd HH:mm:ss"));
    if (a.repeat)
        return QStringLiteral("已触发 %1，回到起始侧后再次提醒").arg(at);
    return QStringLiteral("已触发 %1").arg(at);
}

} // namespace

AlertRow alertRow(const PriceAlert& a, const std::optional<SymbolQuote>& q) {
    AlertRow r;
    r.name = q ? q->showname : a.symbol;
    r.condition = conditionText(a.direction);
    r.price = q ? priceText(a.price, q->decimals) : QString::number(a.price, 'g', 15);
    r.bid = q && q->bid ? q->bidText : QStringLiteral("—");
    r.note = a.note;
    r.mode = a.repeat ? QStringLiteral("重复") : QStringLiteral("一次");
    r.state = stateText(a, q.has_value());
    return r;
}

} // namespace kovan
