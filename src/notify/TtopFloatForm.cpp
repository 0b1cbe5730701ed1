#include "notify/TtopFloatForm.h"

#include "core/Escaping.h"
#include "net/SyncReplyProcessor.h"
#include "notify/ClickLabel.h"
#include "notify/InstantTrade.h"
#include "notify/NoticeLook.h"
#include "notify/WindowDragFilter.h"
#include "notify/WindowShape.h"
#include "shell/SkinImages.h"
#include "shell/SkinLabel.h"
#include "shell/WindowStacking.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace kovan {

namespace {

QRect primaryScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return {0, 0, 1920, 1080};
}

// A value label of the instant-trade strip: white Tahoma 12 px.
QLabel* valueLabel(const QString& name, const QRect& geometry, bool centred, QWidget* parent) {
    QLabel* l = skinLabel(name, QString(), look::tahoma(12), Qt::white, parent);
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    return l;
}

// The sell or buy arrow beside the "方式" heading, hidden until a signal shows.
QLabel* directionArrow(const QString& name, const QString& picture, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(182, 5, 11, 11);
    l->setPixmap(QPixmap::fromImage(SkinImages::load(picture)));
    l->hide();
    return l;
}

QLabel* headLabel(const QString& name, const QString& text, QPoint at, QWidget* parent) {
    QLabel* l = skinLabel(name, text, look::tahoma(12), Qt::white, parent);
    l->move(at);
    l->adjustSize();
    return l;
}

} // namespace

TtopFloatForm::TtopFloatForm(Guarded<QList<topInfoRuntimeRecord>>& topInfoList,
                             const QJsonObject& realtimeSignals, QWidget* parent)
    : QWidget(parent), m_ticker(topInfoList, *this, [this] { return m_now(); }),
      m_signals(realtimeSignals), m_screen(primaryScreen),
      m_now(&SyncReplyProcessor::localNowSecs) {
    setObjectName(QStringLiteral("topFloatForm"));
    // A tool window: no taskbar button.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(look::tahoma(11));
    resize(FloatBarState::kWidth, m_state.height());
    setMask(roundRectRegion(width(), height(), 10, 10));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, look::kBarBlue);
    setPalette(pal);
    setAutoFillBackground(true);

    m_upperStrip = SkinImages::load(QStringLiteral("TFBG"));
    m_star1 = SkinImages::load(QStringLiteral("STAR1"));
    m_star2 = SkinImages::load(QStringLiteral("STAR2"));
    m_star3 = SkinImages::load(QStringLiteral("STAR3"));
    m_folderClosed = SkinImages::load(QStringLiteral("FCLOSE"));
    m_folderOpen = SkinImages::load(QStringLiteral("FOPEN"));

    bindDragging();
    buildLowerStrip();
    buildUpperStrip();

    m_Timer1.setInterval(FloatBarState::kHeightMs);
    m_Timer2.setInterval(FloatBarState::kSpinnerMs);
    m_amiTimer.setSingleShot(true);
    connect(&m_Timer1, &QTimer::timeout, this, [this] { Timer1Timer(QCursor::pos()); });
    connect(&m_Timer2, &QTimer::timeout, this, &TtopFloatForm::Timer2Timer);
    connect(&m_amiTimer, &QTimer::timeout, this, &TtopFloatForm::amiTick);
}

void TtopFloatForm::bindDragging() {
    // Dragged by the bar itself and by its panels and captions (FloatBarState's rules).
    m_drag = new WindowDragFilter(this, {[this](const QPoint& cursor) {
                                             m_state.mousePress(geometry(), cursor, isVisible());
                                         },
                                         [this](const QPoint& cursor) -> std::optional<QPoint> {
                                             if (!m_state.dragging())
                                                 return std::nullopt;
                                             return pos() + m_state.mouseMove(cursor);
                                         },
                                         [this] { m_state.mouseRelease(); }});
}

void TtopFloatForm::setPlacesItself(bool on) {
    m_drag->setWindowPlacesItself(on);
}

void TtopFloatForm::buildUpperStrip() {
    m_RzPanel1 = new QWidget(this);
    m_RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    m_RzPanel1->setGeometry(12, 3, 640, 30);

    QFont verdana = look::tahoma(13);
    verdana.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    m_amilabel =
        skinLabel(QStringLiteral("amilabel"), QStringLiteral("--"), verdana, Qt::white, m_RzPanel1);
    m_amilabel->setGeometry(3, 5, 12, 13);
    m_amilabel->setAlignment(Qt::AlignCenter);

    m_Label2 = new ClickLabel(QStringLiteral("Label2"), QRect(29, 5, 56, 14), m_RzPanel1);
    m_Label2->setText(QStringLiteral("朗鸥策略"));
    styleLabel(m_Label2, look::song(14), look::kCaptionYellow);
    m_Label2->setToolTip(m_state.pinHint());
    connect(m_Label2, &ClickLabel::doubleClicked, this, &TtopFloatForm::Label2DblClick);

    m_topicpanel = new QWidget(m_RzPanel1);
    m_topicpanel->setObjectName(QStringLiteral("topicpanel"));
    m_topicpanel->setGeometry(104, 4, 460, 16);
    for (int panel : {1, 2})
        makeTickerPanel(panel);

    m_Image5 = new ClickLabel(QStringLiteral("Image5"), QRect(592, 2, 24, 22), m_RzPanel1);
    m_Image5->setPixmap(QPixmap::fromImage(SkinImages::load(QStringLiteral("TFCLOSE"))));
    m_Image5->setToolTip(QStringLiteral("关闭浮窗"));
    m_Image5->setCursor(Qt::PointingHandCursor);
    connect(m_Image5, &ClickLabel::clicked, this, &TtopFloatForm::Image5Click);

    for (QWidget* handle : {m_RzPanel1, static_cast<QWidget*>(m_Label2), m_topicpanel})
        m_drag->addHandle(handle);
    for (const TickerPanel& p : m_ampan) {
        for (QWidget* handle :
             {p.panel, static_cast<QWidget*>(p.image), static_cast<QWidget*>(p.title)})
            m_drag->addHandle(handle);
    }
}

void TtopFloatForm::makeTickerPanel(int panel) {
    const QString n = QString::number(panel);
    TickerPanel& p = m_ampan[panel - 1];
    p.panel = new QWidget(m_topicpanel);
    p.panel->setObjectName(QStringLiteral("ampan") + n);
    p.panel->setGeometry(0, 1, 460, 16);
    p.image = new ClickLabel(QStringLiteral("amimg") + n, QRect(2, 0, 105, 16), p.panel);
    p.title = new ClickLabel(QStringLiteral("amtit") + n, QRect(113, 0, 36, 16), p.panel);
    styleLabel(p.title, look::song(12, true), Qt::white);
    p.title->setTextFormat(Qt::PlainText);
    for (ClickLabel* part : {p.image, p.title})
        connect(part, &ClickLabel::clicked, this, [this, panel] { ampanClick(panel); });
}

void TtopFloatForm::buildLowerStrip() {
    m_topodpanel = new QWidget(this);
    m_topodpanel->setObjectName(QStringLiteral("topodpanel"));
    m_topodpanel->setGeometry(0, 32, 660, 42);
    QPalette pal = m_topodpanel->palette();
    pal.setColor(QPalette::Window, look::kBarBlue);
    m_topodpanel->setPalette(pal);
    m_topodpanel->setAutoFillBackground(true);
    m_drag->addHandle(m_topodpanel);

    m_Label5 = new ClickLabel(QStringLiteral("Label5"), QRect(16, 12, 48, 14), m_topodpanel);
    m_Label5->setText(QStringLiteral("即时交易"));
    styleLabel(m_Label5, look::tahoma(12), Qt::white);
    m_Label5->adjustSize();
    m_Label5->setToolTip(QStringLiteral("点击切换"));
    m_Label5->setCursor(Qt::PointingHandCursor);
    connect(m_Label5, &ClickLabel::clicked, this, &TtopFloatForm::Label5Click);

    m_Image3 = new ClickLabel(QStringLiteral("Image3"), QRect(65, 13, 16, 14), m_topodpanel);
    m_Image3->setPixmap(QPixmap::fromImage(m_folderClosed));
    connect(m_Image3, &ClickLabel::doubleClicked, this, &TtopFloatForm::Image3DblClick);

    buildSignalFields();
    buildLinkButtons();
}

void TtopFloatForm::buildSignalFields() {
    m_to_sym = valueLabel(QStringLiteral("to_sym"), QRect(87, 12, 63, 14), false, m_topodpanel);
    headLabel(QStringLiteral("Label8"), QStringLiteral("方式"), {156, 3}, m_topodpanel);
    m_to_postype =
        valueLabel(QStringLiteral("to_postype"), QRect(156, 20, 60, 14), false, m_topodpanel);
    // The arrows sit beside the "方式" heading: lower down they would run into the order type
    // below it, which is wider in CJK fonts than the strip was laid out for.
    m_dsell = directionArrow(QStringLiteral("dsell"), QStringLiteral("DSELL"), m_topodpanel);
    m_dbuy = directionArrow(QStringLiteral("dbuy"), QStringLiteral("DBUY"), m_topodpanel);
    headLabel(QStringLiteral("Label9"), QStringLiteral("开仓价格"), {227, 3}, m_topodpanel);
    m_to_price = valueLabel(QStringLiteral("to_price"), QRect(227, 20, 46, 14), true, m_topodpanel);
    headLabel(QStringLiteral("Label11"), QStringLiteral("入场时间"), {305, 3}, m_topodpanel);
    m_to_dlstr =
        valueLabel(QStringLiteral("to_dlstr"), QRect(281, 20, 103, 14), true, m_topodpanel);
    headLabel(QStringLiteral("Label13"), QStringLiteral("止损"), {407, 3}, m_topodpanel);
    m_to_sl = valueLabel(QStringLiteral("to_sl"), QRect(397, 20, 46, 14), true, m_topodpanel);
    headLabel(QStringLiteral("Label14"), QStringLiteral("止盈"), {478, 3}, m_topodpanel);
    m_to_tp = valueLabel(QStringLiteral("to_tp"), QRect(469, 21, 46, 14), true, m_topodpanel);
}

void TtopFloatForm::buildLinkButtons() {
    const QPixmap picture = QPixmap::fromImage(SkinImages::load(QStringLiteral("TFBTN")));
    makeLinkButton(
        m_Image7, m_Label17,
        {QStringLiteral("Image7"), QStringLiteral("Label17"), QStringLiteral("详情"), 531},
        picture);
    makeLinkButton(
        m_Image8, m_Label18,
        {QStringLiteral("Image8"), QStringLiteral("Label18"), QStringLiteral("更多"), 581},
        picture);
    connect(m_Image7, &ClickLabel::clicked, this, &TtopFloatForm::Label17Click);
    connect(m_Label17, &ClickLabel::clicked, this, &TtopFloatForm::Label17Click);
    connect(m_Image8, &ClickLabel::clicked, this, &TtopFloatForm::Image8Click);
    connect(m_Label18, &ClickLabel::clicked, this, &TtopFloatForm::Label18Click);
}

void TtopFloatForm::makeLinkButton(ClickLabel*& image, ClickLabel*& label, const LinkButton& b,
                                   const QPixmap& picture) {
    image = new ClickLabel(b.imageName, QRect(b.left, 9, 40, 22), m_topodpanel);
    image->setPixmap(picture);
    image->setCursor(Qt::PointingHandCursor);
    image->setToolTip(QStringLiteral("查看更多话题"));
    label = new ClickLabel(b.labelName, QRect(b.left + 8, 13, 24, 14), m_topodpanel);
    label->setText(b.caption);
    styleLabel(label, look::tahoma(11), look::kLinkBlue);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(QStringLiteral("查看更多话题"));
    ClickLabel* text = label;
    for (ClickLabel* part : {image, label}) {
        connect(part, &ClickLabel::entered, text, [text] { setTextColour(text, look::kLinkRed); });
        connect(part, &ClickLabel::left, text, [text] { setTextColour(text, look::kLinkBlue); });
    }
}

void TtopFloatForm::setClock(std::function<qint64()> nowLocalSecs) {
    m_now = std::move(nowLocalSecs);
}

void TtopFloatForm::setPos() {
    move(FloatBarState::setPos(m_screen()));
}

void TtopFloatForm::Label5Click() {
    const std::optional<InstantTrade> t = InstantTrade::of(m_signals);
    if (!t) {
        m_shownId = 0;
        return;
    }
    m_to_postype->setText(t->postype);
    m_dsell->setVisible(t->sell);
    m_dbuy->setVisible(!t->sell);
    m_to_sym->setText(t->sym);
    m_to_dlstr->setText(t->dlstr);
    m_to_price->setText(t->price);
    m_to_sl->setText(t->sl);
    m_to_tp->setText(t->tp);
    m_shownId = t->id;
}

void TtopFloatForm::showMainIfHidden() {
    const bool visible = m_targets.mainWindowVisible && m_targets.mainWindowVisible();
    if (!visible && m_targets.showMainWindow)
        m_targets.showMainWindow();
}

void TtopFloatForm::Label17Click() {
    showMainIfHidden();
    if (m_shownId > 0 && m_targets.showoptPage) {
        const QString sessid = m_targets.sessid ? m_targets.sessid() : QString();
        m_targets.showoptPage(QStringLiteral("交易信号"),
                              QStringLiteral("signinfo/") + urlPathSegment(sessid) + u'/' +
                                  QString::number(m_shownId),
                              0, QStringLiteral("1"));
    }
}

void TtopFloatForm::Label18Click() {
    if (m_targets.mainWindowVisible && m_targets.mainWindowVisible())
        return;
    if (m_targets.showMainWindow)
        m_targets.showMainWindow();
    if (m_targets.switchPae)
        m_targets.switchPae(QStringLiteral("sg"));
}

void TtopFloatForm::Image8Click() {
    showMainIfHidden();
}

void TtopFloatForm::Image5Click() {
    close();
}

void TtopFloatForm::Label2DblClick() {
    // The stacking changes on the bar's native window in place: it stays where it is.
    const bool pinned = m_state.togglePin();
    setStaysOnTop(this, pinned);
    if (pinned && !isVisible())
        show();
    m_Label2->setToolTip(m_state.pinHint());
}

void TtopFloatForm::Image3DblClick() {
    m_Image3->setPixmap(QPixmap::fromImage(m_state.toggleMarker() ? m_folderOpen : m_folderClosed));
}

void TtopFloatForm::ampan1Click() {
    ampanClick(1);
}

void TtopFloatForm::ampan2Click() {
    ampanClick(2);
}

void TtopFloatForm::ampanClick(int panel) {
    const QString sessid = m_targets.sessid ? m_targets.sessid() : QString();
    const NewsAnimate::Click c = NewsAnimate::panelClick(panel, m_ticker.panelItem(panel), sessid);
    if (c.showMainWindow)
        showMainIfHidden();
    if (c.openPage && m_targets.showoptPage)
        m_targets.showoptPage(c.title, c.params, 0, QStringLiteral("1"));
}

void TtopFloatForm::Timer1Timer(const QPoint& cursor) {
    if (m_state.heightTick(geometry(), cursor))
        applyHeight();
}

void TtopFloatForm::applyHeight() {
    resize(FloatBarState::kWidth, m_state.height());
    setMask(roundRectRegion(width(), height(), 15, 15));
}

void TtopFloatForm::Timer2Timer() {
    m_amilabel->setText(m_state.spinnerTick());
}

void TtopFloatForm::amiTick() {
    const int waitMs = m_ticker.tick();
    if (isVisible())
        m_amiTimer.start(waitMs);
    else
        m_amiRemainingMs = waitMs;
}

void TtopFloatForm::pauseTicker() {
    if (!m_amiTimer.isActive())
        return;
    m_amiRemainingMs = std::max(0, m_amiTimer.remainingTime());
    m_amiTimer.stop();
}

void TtopFloatForm::resumeTicker() {
    if (!m_amiTimer.isActive())
        m_amiTimer.start(m_amiRemainingMs);
}

void TtopFloatForm::setInfos(int panel, int impant, const QString& title) {
    const NewsAnimate::PanelGeometry g = NewsAnimate::panelGeometry(impant);
    const TickerPanel& p = m_ampan[panel - 1];
    p.image->setGeometry(2, 0, g.imageWidth, 16);
    const QImage& stars = g.stars == 3 ? m_star3 : g.stars == 2 ? m_star2 : m_star1;
    p.image->setPixmap(QPixmap::fromImage(stars));
    p.title->setGeometry(g.titleLeft, 0, g.titleWidth, 16);
    p.title->setText(title);
}

void TtopFloatForm::ampos(int top1, int top2) {
    m_ampan[0].panel->move(0, top1);
    m_ampan[1].panel->move(0, top2);
}

void TtopFloatForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_upperStrip.isNull())
        p.drawImage(QRect(0, 0, FloatBarState::kWidth, FloatBarState::kCollapsedHeight),
                    m_upperStrip);
}

void TtopFloatForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_Timer1.start();
    m_Timer2.start();
    resumeTicker();
}

void TtopFloatForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (m_targets.closed)
        m_targets.closed();
}

void TtopFloatForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_Timer1.stop();
    m_Timer2.stop();
    pauseTicker();
    m_state.mouseRelease();
}

} // namespace kovan
