#pragma once

#include "alerts/PriceAlert.h"
#include "alerts/SymbolQuote.h"

#include <QString>

#include <optional>

namespace kovan {

// One row of the alerts window: 品种, 条件, 价格, 当前买价, 备注, 方式, 状态.
struct AlertRow {
    QString name;
    QString condition;
    QString price;
    QString bid;
    QString note;
    QString mode;
    QString state;
};

// The row of `alert` with its symbol as synced now (`quote`: nullopt when the table does not
// hold it; the alert then waits, and says so). Trigger times in local time.
AlertRow alertRow(const PriceAlert& alert, const std::optional<SymbolQuote>& quote);

} // namespace kovan
