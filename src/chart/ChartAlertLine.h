#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace kovan {

// A waiting price alert as a chart draws it: its id (to move, edit or remove it) and price.
struct ChartAlertLine {
    qint64 id = 0;
    double price = 0;

    bool operator==(const ChartAlertLine&) const = default;
};

// What the chart windows ask of the member's price alerts; any may be empty. GUI thread.
struct ChartAlertActions {
    // The alerts to draw on a chart of `symbol`.
    std::function<std::vector<ChartAlertLine>(const QString& symbol)> lines;
    // "在此价位设置提醒": the add dialog filled in with the symbol and the price under the cursor.
    std::function<void(const QString& symbol, double price)> addAt;
    // "价格提醒…": the alerts window.
    std::function<void()> openList;
    // A line's own menu: "编辑提醒…" and "删除提醒".
    std::function<void(qint64 id)> edit;
    std::function<void(qint64 id)> remove;
    // A line dragged to another price.
    std::function<void(qint64 id, double price)> move;
};

} // namespace kovan
