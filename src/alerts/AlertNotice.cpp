#include "alerts/AlertNotice.h"

namespace kovan {

AlertNoticeText alertNoticeText(const AlertTrigger& t) {
    const ReplyBid& b = t.bid;
    const QString name = b.showname.isEmpty() ? b.code : b.showname;
    QString content = name + QStringLiteral(" 买价 ") + priceText(b.bid, b.decimals) + u' ' +
                      reachedText(t.alert.direction) + u' ' + priceText(t.alert.price, b.decimals);
    if (!t.alert.note.isEmpty())
        content += u'\n' + t.alert.note;
    return {QStringLiteral("价格提醒"), content, t.alert.symbol};
}

QString alertLogLine(const AlertTrigger& t) {
    return QStringLiteral("price alert %1 %2 %3: bid %4")
        .arg(t.alert.symbol,
             t.alert.direction == AlertDirection::Rise ? QStringLiteral("rises to")
                                                       : QStringLiteral("falls to"),
             priceText(t.alert.price, t.bid.decimals), t.bid.bidText);
}

} // namespace kovan
