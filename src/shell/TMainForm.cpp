#include "shell/TMainForm.h"

#include "core/Trace.h"
#include "shell/CallIfSet.h"
#include "shell/EdgeResizer.h"
#include "shell/RatesTicker.h"
#include "shell/SectionArea.h"
#include "shell/SkinImages.h"
#include "shell/SkinPainters.h"
#include "shell/StatusBand.h"
#include "shell/TickerView.h"
#include "shell/TitleBand.h"
#include "shell/TrayIcon.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QScopedValueRollback>
#include <QScreen>

namespace kovan {

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
        this, [this] { return !m_titleBand->captionButtons().maximised(); }, this);
    buildTitleBand();
    buildColumns();
    buildBottomBands();

    m_ConBgPae = new QWidget(this);
    m_ConBgPae->setObjectName(QStringLiteral("ConBgPae"));
    m_ConBgPae->hide();

    m_sections = new SectionArea(m_titleBand->navigationBar(), m_titleBand->serviceBar(), m_bgMPae,
                                 m_ConBgPae, m_hooks.pages, m_state, this);
    m_ratesTicker = new RatesTicker(m_btmIV, this);

    buildTray();
    FormResize();
}

TMainForm::~TMainForm() {
    // The ticker worker paints into btmIV: it must be gone before the view goes.
    m_ratesTicker->shutdown();
    // FormDestroy: the tray icon goes with the window.
    m_tray->removeTrayIcon();
}

SkinPanel* TMainForm::makePanel(const QString& name) {
    auto* p = new SkinPanel(name, this);
    // Panels along the edges answer the resize zones.
    m_edges->watch(p);
    return p;
}

void TMainForm::buildTitleBand() {
    m_titleBand =
        new TitleBand(this, {.minImgClicked = [this] { minImgClick(); },
                             .ClsImgClicked = [this] { ClsImgClick(); },
                             .topUNLabClicked = [this] { MyHotBtPaeClick(); },
                             .logIMGClicked = [this] { callIfSet(m_hooks.logIMGClick); }});
    for (QWidget* panel : m_titleBand->edgePanels())
        m_edges->watch(panel);
}

void TMainForm::buildColumns() {
    m_bgMPae = makePanel(QStringLiteral("bgMPae"));
    m_bgMPae->setPainter(SkinPainters::middleColumn());
    m_MLinePae = makePanel(QStringLiteral("MLinePae"));
    m_MLinePae->setPainter(SkinPainters::divider());
    m_MLinePae->setCursor(Qt::PointingHandCursor);
    connect(m_MLinePae, &SkinPanel::released, this, [this](QMouseEvent* e) {
        const QPoint local = e->position().toPoint();
        if (e->button() == Qt::LeftButton && m_MLinePae->rect().contains(local))
            MLinePaeClick(m_MLinePae->mapTo(this, local));
    });
    m_bgRPae = makePanel(QStringLiteral("bgRPae"));
    m_bgRPae->setPainter(SkinPainters::rightColumn());
}

void TMainForm::buildBottomBands() {
    m_btTipPae = makePanel(QStringLiteral("btTipPae"));
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

void TMainForm::buildTray() {
    m_tray = new TrayIcon(this,
                          {.bringToFront = [this] { bringToFront(); },
                           .floatBar = [this] { showFloatBarOnce(); },
                           .newestNotice = [this] { callIfSet(m_hooks.showNewestNotice); },
                           .memberCentre = [this] { MyHotBtPaeClick(); },
                           .priceAlerts = [this] { callIfSet(m_hooks.showPriceAlerts); },
                           .exitProcedure = [this] { callIfSet(m_hooks.exitProcedure); }},
                          this);
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

void TMainForm::showFirstSection() {
    m_sections->showFirstSection();
}

void TMainForm::loadEarnGif() {
    // The picture goes through cache/edata.gif; when that cannot be written the resource is
    // read directly.
    const QByteArray gif = SkinImages::encoded(QStringLiteral("EARNGIF"));
    QString source = SkinImages::resourcePath(QStringLiteral("EARNGIF"));
    if (m_state.paths && !m_state.paths->programDir.isEmpty()) {
        const QString path = m_state.paths->programDir + QStringLiteral("cache/edata.gif");
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
    m_titleBand->applySkin();
    if (!skin().appIcon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(skin().appIcon)));
    m_ratesTicker->setArrows(skin().top(SkinImages::kTickerUp),
                             skin().top(SkinImages::kTickerDown));
    updateWindowMask();
    update();
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
    m_titleBand->layoutBand(m_layout.topBand());
    m_btTipPae->setGeometry(m_layout.tickerBand());
    m_bgBPae->setGeometry(m_layout.statusBand());
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
    const std::optional<QRegion> cutOut = m_titleBand->logoCutOut();
    if (cutOut && width() > 0 && height() > 0)
        setMask(QRegion(rect()) - *cutOut);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Start-up loads the pictures before the first show; a window shown without that (a tool,
    // a test) loads them now rather than showing bare panels.
    if (skin().topImages.isEmpty()) {
        skin().loadStartImages();
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
    // SC_CLOSE puts the window out of the way like a minimise; the exit procedure is the only
    // way out.
    event->ignore();
    if (!m_exiting)
        hideToTray();
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized) ||
        m_minimising || m_exiting)
        return;
    // SC_MINIMIZE: into the tray where there is one; without, the window stays minimised in
    // the task bar and only the floating bar follows.
    const TrayPolicy::Outcome outcome = m_trayPolicy.minimiseRequested(trayFacts());
    if (outcome.window == TrayPolicy::Window::HideToTray)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    else
        trace(QStringLiteral("main window minimised"));
    apply(outcome.window == TrayPolicy::Window::Minimise
              ? TrayPolicy::Outcome{TrayPolicy::Window::Unchanged, outcome.floatBar}
              : outcome);
}

void TMainForm::minImgClick() {
    hideToTray();
}

void TMainForm::hideToTray() {
    apply(m_trayPolicy.minimiseRequested(trayFacts()));
}

void TMainForm::ClsImgClick() {
    apply(m_trayPolicy.closePictureClicked(trayFacts()));
}

void TMainForm::setTrayAvailable(bool available) {
    m_tray->setTrayAvailable(available);
    apply(m_trayPolicy.trayChanged(available, trayFacts()));
}

void TMainForm::showAtStart(bool atLogin) {
    apply(m_trayPolicy.started(atLogin, trayFacts()));
}

void TMainForm::floatBarClosed() {
    if (!m_exiting)
        apply(m_trayPolicy.floatBarClosed(trayFacts()));
}

TrayPolicy::Facts TMainForm::trayFacts() const {
    return {.windowHidden = !isVisible(), .hasSession = !m_state.sessid().isEmpty()};
}

void TMainForm::apply(TrayPolicy::Outcome outcome) {
    if (m_exiting)
        return; // hidden for good: a tray that goes with the session brings nothing back
    switch (outcome.window) {
    case TrayPolicy::Window::Unchanged:
        break;
    case TrayPolicy::Window::Show:
        show();
        break;
    case TrayPolicy::Window::HideToTray:
        hide();
        m_tray->addTrayIcon();
        trace(QStringLiteral("main window in the tray"));
        break;
    case TrayPolicy::Window::Minimise: {
        // Shown first when hidden: a hidden window is withdrawn, and a window manager no
        // longer lists it.
        const QScopedValueRollback guard(m_minimising, true);
        showMinimized();
        trace(QStringLiteral("main window minimised"));
        break;
    }
    }
    switch (outcome.floatBar) {
    case TrayPolicy::FloatBar::Unchanged:
        break;
    case TrayPolicy::FloatBar::ShowToFront:
        if (m_hooks.showFloatBar)
            m_hooks.showFloatBar(true);
        break;
    case TrayPolicy::FloatBar::ShowOnce:
        showFloatBarOnce();
        break;
    }
}

void TMainForm::showFloatBarOnce() {
    const bool showing = m_hooks.floatBarShowing && m_hooks.floatBarShowing();
    if (!showing && m_hooks.showFloatBar)
        m_hooks.showFloatBar(false);
}

void TMainForm::MyHotBtPaeClick() {
    m_sections->openServicePage(QStringLiteral("MyHotBtPae"));
}

void TMainForm::bringToFront() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    setFocus();
}

bool TMainForm::shownNormally() const {
    return isVisible() && !(windowState() & Qt::WindowMinimized);
}

void TMainForm::hideForExit() {
    m_exiting = true;
    hide();
    m_ratesTicker->stop();
}

} // namespace kovan
