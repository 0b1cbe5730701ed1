#include "chart/TChartForm.h"

#include "chart/ChartAlertMenus.h"
#include "chart/ChartViewWidget.h"
#include "core/Trace.h"
#include "shell/SkinImages.h"
#include "web/HostWebView.h"

#include <QCloseEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <exception>

namespace kovan {

TChartForm::TChartForm(const ChartController::Options& options, CommandRegistry& commands,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_controller(new ChartController(
          options, QSize(ChartController::kViewWidth, ChartController::kViewHeight), this)) {
    setObjectName(QStringLiteral("ChartForm"));
    setWindowTitle(ChartController::kCaption);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    if (!skin().appIcon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(skin().appIcon)));
    resize(kWidth, kHeight);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("RzSizePanel1"));
    m_splitter->setHandleWidth(kSplitterWidth);
    m_splitter->setChildrenCollapsible(true);
    m_MVI = new ChartViewWidget(*m_controller, m_splitter);
    m_RzPanel1 = new QFrame(m_splitter);
    m_RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    m_RzPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_RzPanel1->setMaximumWidth(kPanelWidth - kSplitterWidth);
    auto* panelLayout = new QVBoxLayout(m_RzPanel1);
    panelLayout->setContentsMargins(1, 1, 2, 1); // ChartWeb: 256 × 496 at design size
    m_ChartWeb = new HostWebView(QStringLiteral("ChartWeb"), 0, m_RzPanel1);
    m_ChartWeb->attachScriptHost(commands);
    panelLayout->addWidget(m_ChartWeb);
    m_splitter->addWidget(m_MVI);
    m_splitter->addWidget(m_RzPanel1);
    m_splitter->setCollapsible(0, false); // only the panel collapses
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({ChartController::kViewWidth, kPanelWidth - kSplitterWidth});
    m_splitter->handle(1)->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_alertMenus = new ChartAlertMenus(*m_controller, m_MVI, this);
    connect(m_controller, &ChartController::captionChanged, this, &QWidget::setWindowTitle);
    connect(m_controller, &ChartController::panelRequested, m_ChartWeb, &HostWebView::navigate);
    connect(m_controller, &ChartController::runScriptRequested, m_ChartWeb,
            &HostWebView::runScript);

    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, &TChartForm::saveScreenshot);
}

TChartForm::~TChartForm() {
    m_controller->close();
    // The view goes before the controller whose chart view it shows.
    delete m_splitter;
    m_splitter = nullptr;
}

void TChartForm::saveScreenshot() {
    try {
        m_controller->screenshot();
    } catch (const std::exception& e) {
        trace(QStringLiteral("chart screenshot failed: ") + QString::fromUtf8(e.what()));
    }
}

bool TChartForm::panelCollapsed() const {
    const QList<int> sizes = m_splitter->sizes();
    return sizes.size() == 2 && sizes[1] == 0;
}

void TChartForm::togglePanel() {
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() != 2)
        return;
    const int total = sizes[0] + sizes[1];
    if (panelCollapsed()) {
        m_splitter->setSizes({total - m_panelWidth, m_panelWidth});
    } else {
        m_panelWidth = sizes[1];
        m_splitter->setSizes({total, 0});
    }
}

QRect TChartForm::hotSpot() const {
    const QWidget* bar = m_splitter->handle(1);
    const int h = 40;
    return QRect(0, (bar->height() - h) / 2, bar->width(), h);
}

bool TChartForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_splitter->handle(1))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && hotSpot().contains(me->position().toPoint())) {
            togglePanel();
            return true;
        }
    } else if (event->type() == QEvent::Paint) {
        // The bar with its hot spot: an arrow pointing where a click sends the panel.
        QWidget* bar = m_splitter->handle(1);
        QPainter p(bar);
        p.fillRect(bar->rect(), palette().window());
        const QRect spot = hotSpot();
        p.fillRect(spot.adjusted(1, 0, -1, 0), palette().mid());
        const int cx = spot.center().x(), cy = spot.center().y();
        const int dir = panelCollapsed() ? -1 : 1;
        const QPoint tri[3] = {{cx - dir * 2, cy - 4}, {cx + dir * 2, cy}, {cx - dir * 2, cy + 4}};
        p.setPen(Qt::NoPen);
        p.setBrush(palette().windowText());
        p.drawPolygon(tri, 3);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TChartForm::tellShown() {
    m_controller->setShown(isVisible() && !isMinimized());
}

void TChartForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        tellShown();
    QWidget::changeEvent(event);
}

void TChartForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tellShown();
}

void TChartForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    tellShown();
}

void TChartForm::closeEvent(QCloseEvent* event) {
    m_controller->close();
    event->accept();
    Q_EMIT closed(m_controller->CFHKey());
}

} // namespace kovan
