#include "shell/TMainForm.h"

#include "core/ProgramState.h"
#include "core/Trace.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QThread>
#include <QVBoxLayout>

namespace kovan {

namespace {
constexpr auto kCloseMessage = "wm_closecoear";
}

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("朗鸥策略"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint);
    resize(920, 585);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("bgTPae"));
    top->setFixedHeight(85);
    top->setAutoFillBackground(true);
    top->setStyleSheet(QStringLiteral("background:#013E7F"));
    auto* topLayout = new QHBoxLayout(top);
    m_topUNLab = new QLabel(QStringLiteral("    访客    "), top);
    m_topUNLab->setObjectName(QStringLiteral("topUNLab"));
    m_topUNLab->setStyleSheet(QStringLiteral("color:white;font-weight:bold;font-size:12px"));
    topLayout->addWidget(m_topUNLab);
    topLayout->addStretch();
    outer->addWidget(top);

    auto* middle = new QWidget(this);
    auto* row = new QHBoxLayout(middle);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_bgMPae = new QWidget(middle);
    m_bgMPae->setObjectName(QStringLiteral("bgMPae"));
    m_bgRPae = new QWidget(middle);
    m_bgRPae->setObjectName(QStringLiteral("bgRPae"));
    m_bgRPae->setFixedWidth(200);
    row->addWidget(m_bgMPae, 1);
    row->addWidget(m_bgRPae);
    outer->addWidget(middle, 1);

    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("bgBPae"));
    bottom->setFixedHeight(52);
    bottom->setAutoFillBackground(true);
    bottom->setStyleSheet(QStringLiteral("background:#309DE9"));
    outer->addWidget(bottom);

    m_ConBgPae = new QWidget(this);
    m_ConBgPae->setObjectName(QStringLiteral("ConBgPae"));
    m_ConBgPae->hide();

    buildTrayMenu();
}

TMainForm::~TMainForm() {
    // FormDestroy: the tray icon goes with the window.
    removeTrayIcon();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT resized();
}

void TMainForm::buildTrayMenu() {
    m_trayMenu = new QMenu(this);
    m_N5 = m_trayMenu->addAction(QStringLiteral("隐藏(&H)"), this, &TMainForm::N5Click);
    m_trayMenu->addAction(QStringLiteral("浮窗(&F)"), this, &TMainForm::N9Click);
    m_trayMenu->addAction(QStringLiteral("提醒事件(&H)"), this, &TMainForm::H1Click);
    m_trayMenu->addAction(QStringLiteral("会员中心(&M)"), this, &TMainForm::N10Click);
    m_trayMenu->addAction(QStringLiteral("退出(&X)"), this, &TMainForm::N8Click);
    connect(m_trayMenu, &QMenu::aboutToShow, this, &TMainForm::PopupMenu1Popup);
}

void TMainForm::addTrayIcon() {
    if (!m_trayIcon) {
        m_trayIcon = new QSystemTrayIcon(windowIcon(), this);
        m_trayIcon->setToolTip(QStringLiteral("朗鸥策略"));
        m_trayIcon->setContextMenu(m_trayMenu);
        connect(m_trayIcon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        bringToFront();
                });
    }
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIcon->show();
    m_trayAdded = true;
    trace(QStringLiteral("tray icon added"));
}

void TMainForm::removeTrayIcon() {
    if (!m_trayAdded)
        return;
    if (m_trayIcon)
        m_trayIcon->hide();
    m_trayAdded = false;
    trace(QStringLiteral("tray icon removed"));
}

void TMainForm::registerCloseMessage() {
    if (m_closeServer)
        return;
    m_closeServer = new QLocalServer(this);
    // A client that ended without cleaning up leaves a stale socket file behind.
    QLocalServer::removeServer(QString::fromLatin1(kCloseMessage));
    if (!m_closeServer->listen(QString::fromLatin1(kCloseMessage))) {
        trace(QStringLiteral("close message: cannot listen: ") + m_closeServer->errorString());
        return;
    }
    connect(m_closeServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_closeServer->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                while (peer->canReadLine()) {
                    if (peer->readLine().trimmed() == kCloseMessage)
                        removeTrayIcon();
                }
            });
        }
    });
}

void TMainForm::setSecondaryWindows(TtopFloatForm* floatBar, TrbMsgForm* popup) {
    m_floatBar = floatBar;
    m_popup = popup;
}

void TMainForm::bringToFront() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    setFocus();
}

void TMainForm::PopupMenu1Popup() {
    m_N5->setText(isVisible() ? QStringLiteral("隐藏(&H)") : QStringLiteral("显示(&S)"));
}

void TMainForm::N5Click() {
    setVisible(!isVisible());
}

void TMainForm::N9Click() {
    if (m_floatBar && !m_floatBar->isVisible()) {
        m_floatBar->setPos();
        m_floatBar->show();
    }
}

void TMainForm::H1Click() {
    if (m_popup)
        m_popup->showNewest();
}

void TMainForm::N10Click() {
    show();
    // The member centre page opens with the service buttons of the navigation bar.
}

void TMainForm::N8Click() {
    exitProcedure();
}

void TMainForm::exitProcedure() {
    if (m_exiting)
        return;
    m_exiting = true;
    trace(QStringLiteral("exit procedure"));
    removeTrayIcon();
    program().setAppRunning(false);
    hide();
    if (stopRatesTicker)
        stopRatesTicker();
    if (m_floatBar && m_floatBar->isVisible())
        m_floatBar->hide();
    if (m_popup && m_popup->isVisible())
        m_popup->close();
    // The sync worker leaves its loop at its next check of appRunning; its termination handler
    // runs on this thread, so events must keep flowing while we wait.
    while (syncWorkerRunning && syncWorkerRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    QCoreApplication::quit();
}

} // namespace kovan
