#pragma once

#include "alerts/PriceAlertBook.h"

#include <QString>

namespace kovan {

// What a triggered alert shows and logs. Plain functions, any thread.
struct AlertNoticeText {
    QString title; // "价格提醒"
    QString
        content; // "<display name> 买价 <bid> 已升至 <price>", then the note on a line of its own
    QString viparam; // the symbol: "查看" opens its chart
};

AlertNoticeText alertNoticeText(const AlertTrigger& trigger);

// The log line: "price alert XAU rises to 2050.00: bid 2050.12".
QString alertLogLine(const AlertTrigger& trigger);

} // namespace kovan
