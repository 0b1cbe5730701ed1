#pragma once

#include "chart/ChartAlertLine.h"

#include <QObject>

class QMenu;
class QWidget;

namespace kovan {

class ChartController;

// The price-alert menus of a chart window, bound to its controller's requests: a right click
// in normal mode shows "在此价位设置提醒" (the price under the cursor; disabled where there is
// none) and "价格提醒…"; one on an alert line shows "编辑提醒…" and "删除提醒". A dragged line
// passes its new price on. The actions go to the price-alert part (ChartAlertActions); the
// menus open without waiting. GUI thread only.
class ChartAlertMenus : public QObject {
    Q_OBJECT
public:
    // `view`: the chart view the menus open over (view coordinates map to it).
    ChartAlertMenus(ChartController& controller, QWidget* view, QObject* parent = nullptr);

    void setActions(ChartAlertActions actions) { m_actions = std::move(actions); }
    const ChartAlertActions& actions() const { return m_actions; }

    // The menus as they would open (tests look at their items); the caller owns them.
    QMenu* chartMenu(double price);
    QMenu* lineMenu(qint64 id);

private:
    void popup(QMenu* menu, const QPoint& at);

    ChartController& m_controller;
    QWidget* m_view;
    ChartAlertActions m_actions;
};

} // namespace kovan
