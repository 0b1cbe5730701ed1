#include "web/ContentPane.h"

#include "web/ContentTitleBar.h"
#include "web/HostWebView.h"
#include "web/PaneButton.h"
#include "web/SectionRules.h"
#include "web/WebArtwork.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace kovan {

ContentPane::ContentPane(QWidget* host, QWidget* middleColumn, const Endpoints& endpoints)
    : QWidget(host), m_endpoints(endpoints), m_host(host), m_middleColumn(middleColumn) {
    setObjectName(QStringLiteral("ContentPane"));
    if (host) {
        auto* hostLayout = new QVBoxLayout(host);
        hostLayout->setContentsMargins(0, 0, 0, 0);
        hostLayout->addWidget(this);
    }
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_ConTopPae = new ContentTitleBar(this);
    m_ConBackBt = new PaneButton(QStringLiteral("ConBackBt"), QStringLiteral("返回"), m_ConTopPae);
    m_ConBackBt->move(10, 8);
    m_ConRefrBt = new PaneButton(QStringLiteral("ConRefrBt"), QStringLiteral("刷新"), m_ConTopPae);
    m_ConRefrBt->move(m_ConTopPae->width() - m_ConRefrBt->width() - 20, 8);
    column->addWidget(m_ConTopPae);

    m_body = new QWidget(this);
    column->addWidget(m_body, 1);
    m_ConWeb = new HostWebView(QStringLiteral("ConWeb"), 0, m_body);
    m_ConLDPae = new QWidget(m_body);
    m_ConLDPae->setObjectName(QStringLiteral("ConLDPae"));
    m_ConLDPae->setAutoFillBackground(true);
    QPalette pal = m_ConLDPae->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_ConLDPae->setPalette(pal);
    m_Image2 = new QLabel(m_ConLDPae);
    m_Image2->setObjectName(QStringLiteral("Image2"));
    m_Image2->setAlignment(Qt::AlignCenter);
    auto* overlayLayout = new QVBoxLayout(m_ConLDPae);
    overlayLayout->addWidget(m_Image2);

    m_Timer5 = new QTimer(this);
    m_Timer5->setObjectName(QStringLiteral("Timer5"));
    m_Timer5->setInterval(100);
    connect(m_Timer5, &QTimer::timeout, this, &ContentPane::Timer5Timer);
    m_loadingFrames = artwork::defaultLoadingFrames();

    connect(m_ConBackBt, &PaneButton::clicked, this, &ContentPane::ConBackBtClick);
    connect(m_ConRefrBt, &PaneButton::clicked, this, &ContentPane::ConRefrBtClick);
    connect(m_ConWeb, &HostWebView::documentComplete, this,
            [this](bool) { ConWebDocumentComplete(); });
    if (m_middleColumn)
        m_middleColumn->installEventFilter(this);
    m_body->installEventFilter(this);
    layoutBody();
}

void ContentPane::attachScriptHost(CommandRegistry& registry) {
    m_ConWeb->attachScriptHost(registry);
}

QRect ContentPane::paneGeometry(const QRect& middleColumnInParent) {
    return QRect(2, middleColumnInParent.top(), middleColumnInParent.width() - 2,
                 middleColumnInParent.height());
}

void ContentPane::placeOverMiddleColumn() {
    if (!m_host || !m_middleColumn || !m_host->parentWidget())
        return;
    const QPoint topLeft = m_middleColumn->mapTo(m_host->window(), QPoint(0, 0));
    const QPoint inParent = m_host->parentWidget()->mapFrom(m_host->window(), topLeft);
    m_host->setGeometry(paneGeometry(QRect(inParent, m_middleColumn->size())));
    m_host->raise();
}

void ContentPane::showoptPage(const QString& _ktitle, const QString& _params, qint64 staytitle,
                              const QString& destory) {
    Q_UNUSED(staytitle);
    Q_UNUSED(destory);
    m_ConLDPae->show();
    m_ConLDPae->raise();
    placeOverMiddleColumn();
    m_ConRefrBt->move(m_ConTopPae->width() - m_ConRefrBt->width() - 20, 8);
    m_contentUrl = sections::contentAddress(m_endpoints.pageServer.root(), _params);
    m_ConWeb->navigate(QUrl(m_contentUrl));
    if (m_host)
        m_host->show();
    m_ConTopPae->setCaption(_ktitle);
    m_Timer5->start();
}

void ContentPane::setTitle(const QString& title) {
    m_ConTopPae->setCaption(title);
    m_ConTopPae->repaint();
}

QString ContentPane::title() const {
    return m_ConTopPae->caption();
}

void ContentPane::ConBackBtClick() {
    hidePane();
    m_ConWeb->navigate(QUrl(QStringLiteral("about:blank")));
}

void ContentPane::ConRefrBtClick() {
    m_Timer5->start();
    m_ConLDPae->show();
    m_ConLDPae->raise();
    m_ConWeb->navigate(QUrl(m_contentUrl));
}

void ContentPane::ConWebDocumentComplete() {
    m_ConLDPae->hide();
    m_Timer5->stop();
}

void ContentPane::hidePane() {
    if (m_host)
        m_host->hide();
}

bool ContentPane::paneVisible() const {
    return m_host && !m_host->isHidden();
}

void ContentPane::Timer5Timer() {
    if (m_timer5Tag >= 8)
        m_timer5Tag = 0;
    if (m_timer5Tag < m_loadingFrames.size())
        m_Image2->setPixmap(m_loadingFrames.at(m_timer5Tag));
    ++m_timer5Tag;
}

void ContentPane::setLoadingFrames(const QList<QPixmap>& frames) {
    if (!frames.isEmpty())
        m_loadingFrames = frames;
}

void ContentPane::setTitleImage(const QPixmap& image) {
    m_ConTopPae->setBackground(image);
}

void ContentPane::setButtonImages(const QPixmap& left, const QPixmap& middle,
                                  const QPixmap& right) {
    m_ConBackBt->setImages(left, middle, right);
    m_ConRefrBt->setImages(left, middle, right);
}

void ContentPane::layoutBody() {
    const QRect r = m_body->rect();
    m_ConWeb->setGeometry(r);
    m_ConLDPae->setGeometry(r);
    m_ConRefrBt->move(m_ConTopPae->width() - m_ConRefrBt->width() - 20, 8);
}

void ContentPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBody();
}

bool ContentPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_middleColumn && paneVisible() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeOverMiddleColumn();
    if (watched == m_body && event->type() == QEvent::Resize)
        layoutBody();
    return QWidget::eventFilter(watched, event);
}

} // namespace kovan
