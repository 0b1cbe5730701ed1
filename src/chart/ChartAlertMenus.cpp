#include "chart/ChartAlertMenus.h"

#include "chart/ChartController.h"

#include <QMenu>
#include <QWidget>

#include <cmath>

namespace kovan {

ChartAlertMenus::ChartAlertMenus(ChartController& controller, QWidget* view, QObject* parent)
    : QObject(parent), m_controller(controller), m_view(view) {
    connect(&controller, &ChartController::chartMenuRequested, this,
            [this](const QPoint& at, double price) { popup(chartMenu(price), at); });
    connect(&controller, &ChartController::alertLineMenuRequested, this,
            [this](const QPoint& at, qint64 id) { popup(lineMenu(id), at); });
    connect(&controller, &ChartController::alertLineMoved, this, [this](qint64 id, double price) {
        if (m_actions.move && std::isfinite(price))
            m_actions.move(id, price);
    });
}

QMenu* ChartAlertMenus::chartMenu(double price) {
    auto* menu = new QMenu(m_view);
    menu->setObjectName(QStringLiteral("ChartAlertMenu"));
    QAction* here = menu->addAction(QStringLiteral("在此价位设置提醒"), this, [this, price] {
        if (m_actions.addAt)
            m_actions.addAt(m_controller.symbol(), price);
    });
    here->setEnabled(std::isfinite(price) && m_actions.addAt);
    menu->addAction(QStringLiteral("价格提醒…"), this, [this] {
        if (m_actions.openList)
            m_actions.openList();
    });
    return menu;
}

QMenu* ChartAlertMenus::lineMenu(qint64 id) {
    auto* menu = new QMenu(m_view);
    menu->setObjectName(QStringLiteral("AlertLineMenu"));
    menu->addAction(QStringLiteral("编辑提醒…"), this, [this, id] {
        if (m_actions.edit)
            m_actions.edit(id);
    });
    menu->addAction(QStringLiteral("删除提醒"), this, [this, id] {
        if (m_actions.remove)
            m_actions.remove(id);
    });
    return menu;
}

void ChartAlertMenus::popup(QMenu* menu, const QPoint& at) {
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_view->mapToGlobal(at));
}

} // namespace kovan
