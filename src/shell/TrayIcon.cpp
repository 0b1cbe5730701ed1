#include "shell/TrayIcon.h"

#include "core/Trace.h"
#include "shell/CallIfSet.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace kovan {

TrayIcon::TrayIcon(QWidget* window, Actions actions, QObject* parent)
    : QObject(parent), m_window(window), m_actions(std::move(actions)) {
    buildTrayMenu();
}

void TrayIcon::buildTrayMenu() {
    m_trayMenu = new QMenu(m_window);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_N5 = m_trayMenu->addAction(QStringLiteral("隐藏(&H)"), this, &TrayIcon::N5Click);
    m_N5->setObjectName(QStringLiteral("N5"));
    m_trayMenu->addAction(QStringLiteral("浮窗(&F)"), this, &TrayIcon::N9Click)
        ->setObjectName(QStringLiteral("N9"));
    m_trayMenu->addAction(QStringLiteral("提醒事件(&H)"), this, &TrayIcon::H1Click)
        ->setObjectName(QStringLiteral("H1"));
    m_trayMenu->addAction(QStringLiteral("会员中心(&M)"), this, &TrayIcon::N10Click)
        ->setObjectName(QStringLiteral("N10"));
    m_trayMenu->addAction(QStringLiteral("价格提醒(&P)"), this, &TrayIcon::PriceAlertsItemClick)
        ->setObjectName(QStringLiteral("PriceAlertsItem"));
    m_trayMenu->addAction(QStringLiteral("退出(&X)"), this, &TrayIcon::N8Click)
        ->setObjectName(QStringLiteral("N8"));
    connect(m_trayMenu, &QMenu::aboutToShow, this, &TrayIcon::PopupMenu1Popup);
}

void TrayIcon::addTrayIcon() {
    if (!m_trayIcon) {
        m_trayIcon = new QSystemTrayIcon(m_window->windowIcon(), this);
        m_trayIcon->setToolTip(QStringLiteral("朗鸥策略"));
        m_trayIcon->setContextMenu(m_trayMenu);
        connect(m_trayIcon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        callIfSet(m_actions.bringToFront);
                });
    }
    m_trayIcon->setIcon(m_window->windowIcon());
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIcon->show();
    m_trayAdded = true;
    trace(QStringLiteral("tray icon added"));
}

void TrayIcon::removeTrayIcon() {
    if (!m_trayAdded)
        return;
    if (m_trayIcon)
        m_trayIcon->hide();
    m_trayAdded = false;
    trace(QStringLiteral("tray icon removed"));
}

void TrayIcon::PopupMenu1Popup() {
    m_N5->setText(m_window->isVisible() ? QStringLiteral("隐藏(&H)") : QStringLiteral("显示(&S)"));
}

void TrayIcon::N5Click() {
    m_window->setVisible(!m_window->isVisible());
}

void TrayIcon::N9Click() {
    callIfSet(m_actions.floatBar);
}

void TrayIcon::H1Click() {
    callIfSet(m_actions.newestNotice);
}

void TrayIcon::PriceAlertsItemClick() {
    callIfSet(m_actions.priceAlerts);
}

void TrayIcon::N10Click() {
    m_window->show();
    callIfSet(m_actions.memberCentre);
}

void TrayIcon::N8Click() {
    callIfSet(m_actions.exitProcedure);
}

} // namespace kovan
