#include "media/TvdoForm.h"

#include "core/PrivateFiles.h"
#include "media/PosPae.h"
#include "media/VideoSurface.h"
#include "shell/SkinImages.h"
#include "shell/WindowStacking.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLinearGradient>
#include <QMovie>
#include <QPainter>
#include <QToolButton>

namespace kovan {

namespace {

constexpr int kBarHeight = 30;

// `RzPanel1`: the control bar's gradient.
class ControlBar : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x3A, 0x3F, 0x47));
        g.setColorAt(1, QColor(0x16, 0x19, 0x1D));
        p.fillRect(rect(), g);
    }
};

QToolButton* imageButton(QWidget* parent, const QString& name, const QString& caption,
                         const QString& image, int x) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(caption);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QIcon icon(QPixmap::fromImage(SkinImages::load(image)));
    icon.addPixmap(QPixmap::fromImage(SkinImages::load(image + u'H')), QIcon::Active);
    b->setIcon(icon);
    b->setIconSize(QSize(30, 24));
    b->setGeometry(x, 3, 30, 24);
    return b;
}

} // namespace

TvdoForm::TvdoForm(QWidget* parent)
    : QWidget(parent, Qt::Window), m_controller(std::make_unique<VideoController>()) {
    setObjectName(QStringLiteral("vdoForm"));
    setWindowTitle(QString());
    setWindowIcon(QApplication::windowIcon());
    resize(734, 492);

    buildSurface();
    buildControlBar();
    connectParts();

    applyView();
    FormResize();
}

void TvdoForm::buildSurface() {
    m_pvPae = new VideoSurface(this);
    m_loadimg = new QLabel(m_pvPae);
    m_loadimg->setObjectName(QStringLiteral("loadimg"));
    m_loadimg->resize(400, 300);
    m_loadlab = new QLabel(QStringLiteral("视频加载中 请稍侯......"), m_pvPae);
    m_loadlab->setObjectName(QStringLiteral("loadlab"));
    m_loadlab->resize(249, 13);
    m_loadlab->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    m_loadlab->setFont(font);
    m_loadlab->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
}

void TvdoForm::buildControlBar() {
    m_rzPanel1 = new ControlBar(this);
    m_rzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    m_btnPlay = imageButton(m_rzPanel1, QStringLiteral("btnPlay"), QStringLiteral("Play"),
                            QStringLiteral("VDOPLAY"), 5);
    m_btnPause = imageButton(m_rzPanel1, QStringLiteral("btnPause"), QStringLiteral("Pause"),
                             QStringLiteral("VDOPAUSE"), 6);
    m_btnStop = imageButton(m_rzPanel1, QStringLiteral("btnStop"), QStringLiteral("Stop"),
                            QStringLiteral("VDOSTOP"), 43);
    m_posPae = new PosPae(
        [this] {
            const VideoController& c = *m_controller;
            return PosPae::Figures{c.mediaSize(), c.mediaDown(), c.playDuat(), c.duration()};
        },
        m_rzPanel1);
    m_posPae->move(88, 10);
    m_posPae->resize(100, 10);
    m_ltPae = new QLabel(m_rzPanel1);
    m_ltPae->setObjectName(QStringLiteral("ltPae"));
    m_ltPae->resize(60, 25);
    m_ltPae->setAlignment(Qt::AlignCenter);
    m_ltPae->setStyleSheet(QStringLiteral("color: white;"));
}

void TvdoForm::connectParts() {
    connect(m_btnPlay, &QToolButton::clicked, this, [this] { m_controller->btnPlayClick(); });
    connect(m_btnPause, &QToolButton::clicked, this, [this] { m_controller->btnPauseClick(); });
    connect(m_btnStop, &QToolButton::clicked, this, [this] { m_controller->btnStopClick(); });
    connect(m_posPae, &PosPae::clicked, this,
            [this](int x, int width) { m_controller->posPaeClick(x, width); });
    connect(m_controller.get(), &VideoController::viewChanged, this, &TvdoForm::applyView);
    connect(m_controller.get(), &VideoController::barChanged, m_posPae,
            qOverload<>(&QWidget::update));
    connect(m_controller.get(), &VideoController::surfaceCleared, this, [this] {
        m_pvPae->clear();
        m_pvPae->repaint();
    });
    FFPlayer& player = m_controller->player();
    connect(&player, &FFPlayer::frameReady, this,
            [this, &player] { m_pvPae->setFrame(player.currentFrame()); });
}

TvdoForm::~TvdoForm() = default;

void TvdoForm::prepareLoadingPicture(const QString& dir) {
    if (m_movie)
        return;
    makeFolders(dir);
    const QString path = dir + QStringLiteral("/vdo.gif");
    QFile gif(path);
    if (gif.open(QIODevice::WriteOnly | QIODevice::Truncate))
        gif.write(SkinImages::encoded(QStringLiteral("VDOLOAD")));
    gif.close();
    m_movie = new QMovie(path, QByteArray(), this);
    m_movie->setSpeed(50);
    // The frames are decoded once; later loops come from memory.
    m_movie->setCacheMode(QMovie::CacheAll);
    m_loadimg->setMovie(m_movie);
    updateLoadingAnimation();
}

void TvdoForm::updateLoadingAnimation() {
    // The window is kept hidden between videos; its picture must not tick when nobody sees it.
    if (!m_movie)
        return;
    const bool wanted = isVisible() && m_controller->view().loadingShown;
    if (wanted && m_movie->state() == QMovie::NotRunning)
        m_movie->start();
    else
        m_movie->setPaused(!wanted);
}

void TvdoForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateLoadingAnimation();
}

void TvdoForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateLoadingAnimation();
}

void TvdoForm::loadVideo(const QString& aInfo) {
    prepareLoadingPicture(m_controller->cacheDir());
    m_controller->loadVideo(aInfo);
}

void TvdoForm::FormResize() {
    const int w = width(), h = height();
    m_rzPanel1->setGeometry(0, h - kBarHeight, w, kBarHeight);
    m_pvPae->setGeometry(0, 0, w, h - kBarHeight);
    m_posPae->resize(std::max(0, m_rzPanel1->width() - m_posPae->x() - 70), m_posPae->height());
    m_ltPae->move(m_rzPanel1->width() - 60, 2);
    m_loadimg->move((w - m_loadimg->width()) / 2, (m_pvPae->height() - m_loadimg->height()) / 2);
    m_loadlab->move((w - m_loadlab->width()) / 2, m_loadimg->y() + 220);
}

void TvdoForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TvdoForm::closeEvent(QCloseEvent* event) {
    // Hidden, never destroyed: the window is reused for the next video.
    event->ignore();
    m_controller->formClose();
    hide();
}

void TvdoForm::applyView() {
    const VideoController::View& v = m_controller->view();
    setWindowTitle(v.caption);
    m_ltPae->setText(v.timeText);
    m_loadimg->setVisible(v.loadingShown);
    m_loadlab->setVisible(v.loadingShown);
    updateLoadingAnimation();
    m_btnPlay->setVisible(v.playVisible);
    m_btnPlay->setEnabled(v.playEnabled);
    m_btnPause->setVisible(v.pauseVisible);
    m_btnPause->setEnabled(v.pauseEnabled);
    m_btnStop->setEnabled(v.stopEnabled);
    if (v.stayOnTop != m_onTop) {
        m_onTop = v.stayOnTop;
        setStaysOnTop(this, m_onTop); // in place: the window is neither hidden nor moved
    }
}

} // namespace kovan
