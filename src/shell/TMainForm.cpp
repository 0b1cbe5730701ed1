#include "shell/TMainForm.h"

#include "core/ProgramState.h"
#include "core/Trace.h"
#include "shell/EdgeResizer.h"
#include "shell/RatesTicker.h"
#include "shell/SectionArea.h"
#include "shell/SectionPanel.h"
#include "shell/SkinImages.h"
#include "shell/SkinPainters.h"
#include "shell/SkinPanel.h"
#include "shell/StatusBand.h"
#include "shell/TickerView.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>

namespace kovan {

namespace {
constexpr auto kCloseMessage = "wm_closecoear";
constexpr int kLogoWidth = 161;
constexpr int kTitleHeight = 31;
constexpr int kCaptionButtonsWidth = 100;
constexpr int kServiceBarWidth = 284;
const QColor kKeyColour(0xC0, 0xC0, 0xC0); // the logo plate's see-through colour

QLabel* boldWhiteLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    f.setBold(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

// A caption button's picture, drawn unscaled from its top-left corner.
SkinPanel::Painter captionPicture(std::function<int()> index) {
    return [index = std::move(index)](QPainter& p, const SkinPanel&) {
        const QImage img = skin().top(index());
        if (!img.isNull())
            p.drawImage(0, 0, img);
    };
}
} // namespace

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("朗鸥策略"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    // Below this every panel would get an empty or negative size.
    setMinimumSize(FormLayout::kMinWidth, FormLayout::kMinHeight);
    resize(920, 585);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_edges = new EdgeResizer(
        this, [this] { return !m_caption.maximised(); }, this);
    buildTopBand();
    buildColumns();
    buildBottomBands();

    m_ConBgPae = new QWidget(this);
    m_ConBgPae->setObjectName(QStringLiteral("ConBgPae"));
    m_ConBgPae->hide();

    m_sections = new SectionArea(m_RzPanel5, m_RzPanel6, m_bgMPae, m_ConBgPae, m_hooks.pages, this);
    m_ratesTicker = new RatesTicker(m_btmIV, this);

    buildTrayMenu();
    FormResize();
}

TMainForm::~TMainForm() {
    // The ticker worker paints into btmIV: it must be gone before the view goes.
    m_ratesTicker->shutdown();
    // FormDestroy: the tray icon goes with the window.
    removeTrayIcon();
}

SkinPanel* TMainForm::makePanel(const QString& name, QWidget* parent) {
    auto* p = new SkinPanel(name, parent);
    // Panels along the edges answer the resize zones.
    m_edges->watch(p);
    return p;
}

void TMainForm::buildTopBand() {
    m_bgTPae = makePanel(QStringLiteral("bgTPae"), this);

    m_logoPae = makePanel(QStringLiteral("logoPae"), m_bgTPae);
    m_logoPae->setPainter(SkinPainters::stretched(SkinImages::kLogoPlate));
    connect(m_logoPae, &SkinPanel::pressed, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton && windowHandle())
            windowHandle()->startSystemMove();
    });
    m_logIMG = new SkinPanel(QStringLiteral("logIMG"), m_logoPae);
    m_logIMG->setGeometry(20, 12, 83, 57);
    m_logIMG->setCursor(Qt::PointingHandCursor);
    m_logIMG->setPainter([this](QPainter& p, const SkinPanel&) {
        if (!m_logIMGPicture.isNull())
            p.drawImage(0, 0, m_logIMGPicture);
    });
    connect(m_logIMG, &SkinPanel::entered, this, [this] {
        if (m_logIMG->tag() == 0) {
            m_logIMGPicture = skin().memberPicture;
            m_logIMG->update();
        }
    });
    connect(m_logIMG, &SkinPanel::left, this, [this] {
        if (m_logIMG->tag() == 0) {
            m_logIMGPicture = skin().guestPicture;
            m_logIMG->update();
        }
    });
    connect(m_logIMG, &SkinPanel::clicked, this, [this] {
        if (m_logIMG->tag() == 0 && m_hooks.logIMGClick)
            m_hooks.logIMGClick();
    });
    m_RzLabel1 = boldWhiteLabel(QStringLiteral("RzLabel1"), QStringLiteral("会员"), m_logoPae);
    m_RzLabel1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_RzLabel1->setGeometry(105, 8, 26, 16);

    m_RzPanel2 = new QWidget(m_bgTPae);
    m_RzPanel2->setObjectName(QStringLiteral("RzPanel2"));

    m_topPae2 = makePanel(QStringLiteral("topPae2"), m_RzPanel2);
    m_topPae2->setPainter(SkinPainters::stretched(SkinImages::kTitleStrip));
    connect(m_topPae2, &SkinPanel::pressed, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton && windowHandle())
            windowHandle()->startSystemMove();
    });
    connect(m_topPae2, &SkinPanel::doubleClicked, this, &TMainForm::MaxImgClick);
    m_topUNLab =
        boldWhiteLabel(QStringLiteral("topUNLab"), QStringLiteral("    访客    "), m_topPae2);
    m_topUNLab->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_topUNLab->setCursor(Qt::PointingHandCursor);
    m_topUNLab->installEventFilter(this);

    m_RzPanel1 = new QWidget(m_topPae2);
    m_RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    m_RzPanel1->setFixedSize(kCaptionButtonsWidth, kTitleHeight);
    // The user label is docked left and sized to its text (which the login changes), the
    // caption buttons docked right; the rest of the bar drags the window.
    auto* titleRow = new QHBoxLayout(m_topPae2);
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->setSpacing(0);
    titleRow->addWidget(m_topUNLab);
    titleRow->addStretch(1);
    titleRow->addWidget(m_RzPanel1, 0, Qt::AlignTop);
    m_minImg = new SkinPanel(QStringLiteral("minImg"), m_RzPanel1);
    m_minImg->setGeometry(0, 0, 32, 19);
    m_minImg->setPainter(captionPicture([this] { return m_caption.minImage(); }));
    connect(m_minImg, &SkinPanel::clicked, this, &TMainForm::minImgClick);
    connect(m_minImg, &SkinPanel::entered, this, [this] {
        m_caption.minEnter();
        m_minImg->update();
    });
    connect(m_minImg, &SkinPanel::left, this, [this] {
        m_caption.minLeave();
        m_minImg->update();
    });
    m_MaxImg = new SkinPanel(QStringLiteral("MaxImg"), m_RzPanel1);
    m_MaxImg->setGeometry(32, 0, 32, 19);
    m_MaxImg->setPainter(captionPicture([this] { return m_caption.maxImage(); }));
    connect(m_MaxImg, &SkinPanel::clicked, this, &TMainForm::MaxImgClick);
    connect(m_MaxImg, &SkinPanel::entered, this, &TMainForm::MaxImgMouseEnter);
    connect(m_MaxImg, &SkinPanel::left, this, &TMainForm::MaxImgMouseLeave);
    m_ClsImg = new SkinPanel(QStringLiteral("ClsImg"), m_RzPanel1);
    m_ClsImg->setGeometry(64, 0, 42, 19);
    m_ClsImg->setPainter(captionPicture([] { return CaptionButtons::kClose; }));
    connect(m_ClsImg, &SkinPanel::clicked, this, &TMainForm::ClsImgClick);

    m_RzPanel5 = makePanel(QStringLiteral("RzPanel5"), m_RzPanel2);
    m_RzPanel5->setPainter(SkinPainters::stretched(SkinImages::kNavigationStrip));
    m_RzPanel6 = makePanel(QStringLiteral("RzPanel6"), m_RzPanel2);
    m_RzPanel6->setPainter(SkinPainters::stretched(SkinImages::kNavigationStrip));
}

void TMainForm::buildColumns() {
    m_bgMPae = makePanel(QStringLiteral("bgMPae"), this);
    m_bgMPae->setPainter(SkinPainters::middleColumn());
    m_MLinePae = makePanel(QStringLiteral("MLinePae"), this);
    m_MLinePae->setPainter(SkinPainters::divider());
    m_MLinePae->setCursor(Qt::PointingHandCursor);
    connect(m_MLinePae, &SkinPanel::released, this, [this](QMouseEvent* e) {
        const QPoint local = e->position().toPoint();
        if (e->button() == Qt::LeftButton && m_MLinePae->rect().contains(local))
            MLinePaeClick(m_MLinePae->mapTo(this, local));
    });
    m_bgRPae = makePanel(QStringLiteral("bgRPae"), this);
    m_bgRPae->setPainter(SkinPainters::rightColumn());
}

void TMainForm::buildBottomBands() {
    m_btTipPae = makePanel(QStringLiteral("btTipPae"), this);
    m_btTipPae->setPainter(SkinPainters::solid(SkinPainters::windowBlue()));
    m_btmIV = new TickerView(m_btTipPae);
    m_RzPanel23 = new SkinPanel(QStringLiteral("RzPanel23"), m_btTipPae);
    m_RzPanel23->setGeometry(0, 0, 25, 25);
    m_RzPanel23->setPainter(SkinPainters::earnPlate());
    m_Image3 = new QLabel(m_RzPanel23);
    m_Image3->setObjectName(QStringLiteral("Image3"));
    m_Image3->setGeometry(0, 0, 25, 25);
    m_Image3->setAlignment(Qt::AlignCenter);

    m_bgBPae = new StatusBand(this);
    m_edges->watch(m_bgBPae);
}

void TMainForm::setSectionViews(QWidget* sgWeb, QWidget* ayWeb, QWidget* plWeb, QWidget* dtWeb,
                                QWidget* rtWeb) {
    m_sections->setViews({sgWeb, ayWeb, plWeb, dtWeb});
    if (rtWeb) {
        m_rtWeb = rtWeb;
        m_rtWeb->setParent(m_bgRPae);
        // Docked to all sides with a 2 px margin on the right, where the column's line is.
        m_rtWeb->setGeometry(0, 0, std::max(0, m_bgRPae->width() - 2), m_bgRPae->height());
        m_rtWeb->show();
    }
}

QString TMainForm::switchPae(const QString& param) {
    return m_sections->switchPae(param);
}

void TMainForm::loadStartImages() {
    skin().loadStartImages();
}

void TMainForm::showFirstSection() {
    m_sections->showFirstSection();
}

void TMainForm::loadEarnGif() {
    // The picture goes through cache/edata.gif; when that cannot be written the resource is
    // read directly.
    const QByteArray gif = SkinImages::encoded(QStringLiteral("EARNGIF"));
    QString source = SkinImages::resourcePath(QStringLiteral("EARNGIF"));
    if (!program().paths.programDir.isEmpty()) {
        const QString path = program().paths.programDir + QStringLiteral("cache/edata.gif");
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(gif) == gif.size())
            source = path;
    }
    delete m_earnMovie;
    m_earnMovie = new QMovie(source, QByteArray(), this);
    m_earnMovie->setSpeed(100);
    // Decoded once: later loops come from memory instead of the file.
    m_earnMovie->setCacheMode(QMovie::CacheAll);
    m_Image3->setMovie(m_earnMovie);
    m_earnMovie->start();
}

void TMainForm::loadSkin() {
    skin().loadSkin();
    m_caption = CaptionButtons();
    setMemberPicture(false);
    if (!skin().appIcon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(skin().appIcon)));
    m_ratesTicker->setArrows(skin().top(SkinImages::kTickerUp),
                             skin().top(SkinImages::kTickerDown));
    updateWindowMask();
    update();
}

void TMainForm::setMemberPicture(bool member) {
    m_logIMG->setTag(member ? 1 : 0);
    m_logIMGPicture = member ? skin().memberPicture : skin().guestPicture;
    m_logIMG->update();
}

void TMainForm::setMemberState(bool member, const QString& userLabel) {
    setMemberPicture(member);
    m_topUNLab->setText(userLabel);
}

bool TMainForm::soundSwitchOn() const {
    return m_bgBPae->soundOn();
}

void TMainForm::layoutTopBand() {
    const int w = width();
    const int right = std::max(0, w - kLogoWidth);
    m_bgTPae->setGeometry(m_layout.topBand());
    m_logoPae->setGeometry(0, 0, kLogoWidth, FormLayout::kTopBand);
    m_RzPanel2->setGeometry(kLogoWidth, 0, right, FormLayout::kTopBand);
    m_topPae2->setGeometry(0, 0, right, kTitleHeight);
    const int barHeight = FormLayout::kTopBand - kTitleHeight;
    m_RzPanel5->setGeometry(0, kTitleHeight, std::max(0, right - kServiceBarWidth), barHeight);
    m_RzPanel6->setGeometry(right - kServiceBarWidth, kTitleHeight, kServiceBarWidth, barHeight);
}

void TMainForm::applyColumns() {
    m_bgMPae->setGeometry(m_layout.middleColumn());
    m_MLinePae->setGeometry(m_layout.divider());
    m_bgRPae->setGeometry(m_layout.rightColumn());
    if (m_rtWeb)
        m_rtWeb->setGeometry(0, 0, std::max(0, m_bgRPae->width() - 2), m_bgRPae->height());
    m_MLinePae->setTag(m_layout.collapsed() ? 1 : 0);
    m_MLinePae->update();
    m_sections->layoutPanels();
    m_ConBgPae->setGeometry(m_layout.contentPane());
}

void TMainForm::FormResize() {
    m_layout.resize(width(), height());
    layoutTopBand();
    m_btTipPae->setGeometry(m_layout.tickerBand());
    m_bgBPae->setGeometry(m_layout.statusBand());
    m_ClsImg->update();
    applyColumns();
    m_btmIV->setGeometry(0, 0, m_btTipPae->width(), FormLayout::kTickerBand);
    m_RzPanel23->raise();
    m_bgBPae->layoutChildren();
    m_ConBgPae->raise();
    updateWindowMask();
    // A running ticker ends; its successor takes the new width.
    m_ratesTicker->stop();
}

void TMainForm::MLinePaeClick(const QPoint& clientPos) {
    if (!m_layout.dividerClick(clientPos.x(), clientPos.y()))
        return;
    applyColumns();
    m_bgRPae->setVisible(m_layout.rightColumnVisible());
}

void TMainForm::updateWindowMask() {
    // The logo plate's silver corner is see-through: cut it out of the window's shape.
    const QImage plate = skin().top(SkinImages::kLogoPlate);
    if (plate.isNull() || width() <= 0 || height() <= 0)
        return;
    const QImage scaled = plate.size() == m_logoPae->size()
                              ? plate
                              : plate.scaled(m_logoPae->size(), Qt::IgnoreAspectRatio);
    // The region of a bitmap made with MaskOutColor holds exactly the key-coloured pixels.
    const QRegion keyed(
        QBitmap::fromImage(scaled.createMaskFromColor(kKeyColour.rgb(), Qt::MaskOutColor)));
    setMask(QRegion(rect()) - keyed.translated(m_logoPae->pos()));
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
    Q_EMIT resized();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Start-up loads the pictures before the first show; a window shown without that (a tool,
    // a test) loads them now rather than showing bare panels.
    if (skin().topImages.isEmpty()) {
        loadStartImages();
        loadSkin();
    }
    if (!m_earnMovie)
        loadEarnGif();
    m_earnMovie->setPaused(false);
    m_ratesTicker->setPaused(false);
    FormResize();
}

void TMainForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Nobody sees the bands while the window is in the tray: the ticker worker sleeps without
    // waking, the picture stops; both go on where they stood when the window comes back.
    if (m_earnMovie)
        m_earnMovie->setPaused(true);
    m_ratesTicker->setPaused(true);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // SC_CLOSE hides the window to the tray; the exit procedure is the only way out.
    event->ignore();
    if (!m_exiting)
        hideToTray();
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        // SC_MINIMIZE: not to the task bar but to the tray.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hideToTray();
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_topUNLab && event->type() == QEvent::MouseButtonRelease) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && m_topUNLab->rect().contains(e->position().toPoint()))
            MyHotBtPaeClick();
        return false;
    }
    return false;
}

void TMainForm::MaxImgClick() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : geometry();
    const QRect workArea = screen ? screen->availableGeometry() : geometry();
    setGeometry(m_caption.toggle(geometry(), screenRect, workArea));
    m_MaxImg->update();
}

void TMainForm::MaxImgMouseEnter() {
    m_caption.maxEnter();
    m_MaxImg->update();
}

void TMainForm::MaxImgMouseLeave() {
    m_caption.maxLeave();
    m_MaxImg->update();
}

void TMainForm::minImgClick() {
    hideToTray();
}

void TMainForm::hideToTray() {
    hide();
    if (!program().session.sessid().isEmpty() && m_hooks.showFloatBar)
        m_hooks.showFloatBar(true);
    addTrayIcon();
}

void TMainForm::ClsImgClick() {
    hide();
    N9Click();
}

void TMainForm::MyHotBtPaeClick() {
    m_sections->openServicePage(QStringLiteral("MyHotBtPae"));
}

void TMainForm::buildTrayMenu() {
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_N5 = m_trayMenu->addAction(QStringLiteral("隐藏(&H)"), this, &TMainForm::N5Click);
    m_N5->setObjectName(QStringLiteral("N5"));
    m_trayMenu->addAction(QStringLiteral("浮窗(&F)"), this, &TMainForm::N9Click)
        ->setObjectName(QStringLiteral("N9"));
    m_trayMenu->addAction(QStringLiteral("提醒事件(&H)"), this, &TMainForm::H1Click)
        ->setObjectName(QStringLiteral("H1"));
    m_trayMenu->addAction(QStringLiteral("会员中心(&M)"), this, &TMainForm::N10Click)
        ->setObjectName(QStringLiteral("N10"));
    m_trayMenu->addAction(QStringLiteral("退出(&X)"), this, &TMainForm::N8Click)
        ->setObjectName(QStringLiteral("N8"));
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
    m_trayIcon->setIcon(windowIcon());
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
    const bool showing = m_hooks.floatBarShowing && m_hooks.floatBarShowing();
    if (!showing && m_hooks.showFloatBar)
        m_hooks.showFloatBar(false);
}

void TMainForm::H1Click() {
    if (m_hooks.showNewestNotice)
        m_hooks.showNewestNotice();
}

void TMainForm::N10Click() {
    show();
    MyHotBtPaeClick();
}

void TMainForm::N8Click() {
    if (m_hooks.exitProcedure)
        m_hooks.exitProcedure();
}

void TMainForm::hideForExit() {
    m_exiting = true;
    hide();
    m_ratesTicker->stop();
}

} // namespace kovan
