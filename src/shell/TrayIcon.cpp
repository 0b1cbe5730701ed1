#include "shell/TrayIcon.h"

#include "core/Trace.h"
#include "shell/CallIfSet.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace kovan {

namespace {

bool readCheck(const std::function<bool()>& checked) {
    return checked && checked();
}

} // namespace

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
    m_sysNotify = m_trayMenu->addAction(QStringLiteral("系统通知(&N)"));
    m_sysNotify->setObjectName(QStringLiteral("SysNotifyItem"));
    m_sysNotify->setCheckable(true);
    connect(m_sysNotify, &QAction::triggered, this, &TrayIcon::SysNotifyItemClick);
    m_autostart = m_trayMenu->addAction(QStringLiteral("开机启动(&S)"));
    m_autostart->setObjectName(QStringLiteral("AutostartItem"));
    m_autostart->setCheckable(true);
    connect(m_autostart, &QAction::triggered, this, &TrayIcon::AutostartItemClick);
    m_trayMenu->addAction(QStringLiteral("退出(&X)"), this, &TrayIcon::N8Click)
        ->setObjectName(QStringLiteral("N8"));
    connect(m_trayMenu, &QMenu::aboutToShow, this, &TrayIcon::PopupMenu1Popup);
}

void TrayIcon::makeIcon() {
    m_trayIcon = new QSystemTrayIcon(m_window->windowIcon(), this);
    m_trayIcon->setToolTip(QStringLiteral("朗鸥策略"));
    m_trayIcon->setContextMenu(m_trayMenu);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    callIfSet(m_actions.bringToFront);
            });
}

void TrayIcon::updateIcon() {
    const bool wanted = m_trayAdded && m_trayAvailable;
    if (wanted && !m_trayIcon)
        makeIcon(); // the process's first tray call: a tray is known to exist
    if (!m_trayIcon)
        return;
    if (wanted) {
        m_trayIcon->setIcon(m_window->windowIcon());
        if (!m_trayIcon->isVisible())
            trace(QStringLiteral("tray icon shown"));
        m_trayIcon->show();
    } else if (m_trayIcon->isVisible()) {
        m_trayIcon->hide();
        trace(QStringLiteral("tray icon hidden"));
    }
}

void TrayIcon::addTrayIcon() {
    m_trayAdded = true;
    trace(QStringLiteral("tray icon added"));
    updateIcon();
}

void TrayIcon::removeTrayIcon() {
    if (!m_trayAdded)
        return;
    m_trayAdded = false;
    updateIcon();
    trace(QStringLiteral("tray icon removed"));
}

void TrayIcon::setTrayAvailable(bool available) {
    m_trayAvailable = available;
    updateIcon();
}

bool TrayIcon::iconShown() const {
    return m_trayIcon && m_trayIcon->isVisible();
}

void TrayIcon::PopupMenu1Popup() {
    m_N5->setText(m_window->isVisible() ? QStringLiteral("隐藏(&H)") : QStringLiteral("显示(&S)"));
    m_sysNotify->setChecked(readCheck(m_actions.sysNotifyChecked));
    m_autostart->setChecked(readCheck(m_actions.autostartChecked));
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

void TrayIcon::SysNotifyItemClick(bool checked) {
    if (m_actions.setSysNotify)
        m_actions.setSysNotify(checked);
    // The check shows what its owner made of it.
    m_sysNotify->setChecked(readCheck(m_actions.sysNotifyChecked));
}

void TrayIcon::AutostartItemClick(bool checked) {
    if (m_actions.setAutostart)
        m_actions.setAutostart(checked);
    m_autostart->setChecked(readCheck(m_actions.autostartChecked));
}

void TrayIcon::N10Click() {
    m_window->show();
    callIfSet(m_actions.memberCentre);
}

void TrayIcon::N8Click() {
    callIfSet(m_actions.exitProcedure);
}

} // namespace kovan
