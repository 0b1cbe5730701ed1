#include "shell/TitleBand.h"

#include "shell/CallIfSet.h"
#include "shell/FormLayout.h"
#include "shell/SkinImages.h"
#include "shell/SkinLabel.h"
#include "shell/SkinPainters.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace kovan {

namespace {
constexpr int kLogoWidth = 161;
constexpr int kTitleHeight = 31;
constexpr int kCaptionButtonsWidth = 100;
constexpr int kServiceBarWidth = 284;
const QColor kKeyColour(0xC0, 0xC0, 0xC0); // the logo plate's see-through colour

QLabel* boldWhiteLabel(const QString& name, const QString& text, QWidget* parent) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    f.setBold(true);
    return skinLabel(name, text, f, Qt::white, parent);
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

TitleBand::TitleBand(QWidget* window, Callbacks callbacks)
    : SkinPanel(QStringLiteral("bgTPae"), window), m_callbacks(std::move(callbacks)) {
    buildLogo();
    m_RzPanel2 = new QWidget(this);
    m_RzPanel2->setObjectName(QStringLiteral("RzPanel2"));
    buildTitleBar(m_RzPanel2);
    m_RzPanel5 = new SkinPanel(QStringLiteral("RzPanel5"), m_RzPanel2);
    m_RzPanel5->setPainter(SkinPainters::stretched(SkinImages::kNavigationStrip));
    m_RzPanel6 = new SkinPanel(QStringLiteral("RzPanel6"), m_RzPanel2);
    m_RzPanel6->setPainter(SkinPainters::stretched(SkinImages::kNavigationStrip));
}

void TitleBand::buildLogo() {
    m_logoPae = new SkinPanel(QStringLiteral("logoPae"), this);
    m_logoPae->setPainter(SkinPainters::stretched(SkinImages::kLogoPlate));
    connect(m_logoPae, &SkinPanel::pressed, this, &TitleBand::startWindowMove);
    m_logIMG = new SkinPanel(QStringLiteral("logIMG"), m_logoPae);
    m_logIMG->setGeometry(20, 12, 83, 57);
    m_logIMG->setCursor(Qt::PointingHandCursor);
    m_logIMG->setPainter([this](QPainter& p, const SkinPanel&) {
        if (!m_logIMGPicture.isNull())
            p.drawImage(0, 0, m_logIMGPicture);
    });
    connect(m_logIMG, &SkinPanel::entered, this, [this] { showHoverPicture(true); });
    connect(m_logIMG, &SkinPanel::left, this, [this] { showHoverPicture(false); });
    connect(m_logIMG, &SkinPanel::clicked, this, [this] {
        if (m_logIMG->tag() == 0)
            callIfSet(m_callbacks.logIMGClicked);
    });
    m_RzLabel1 = boldWhiteLabel(QStringLiteral("RzLabel1"), QStringLiteral("会员"), m_logoPae);
    m_RzLabel1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_RzLabel1->setGeometry(105, 8, 26, 16);
}

void TitleBand::buildTitleBar(QWidget* parent) {
    m_topPae2 = new SkinPanel(QStringLiteral("topPae2"), parent);
    m_topPae2->setPainter(SkinPainters::stretched(SkinImages::kTitleStrip));
    connect(m_topPae2, &SkinPanel::pressed, this, &TitleBand::startWindowMove);
    connect(m_topPae2, &SkinPanel::doubleClicked, this, &TitleBand::MaxImgClick);
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
    buildCaptionButtons();
}

void TitleBand::buildCaptionButtons() {
    m_minImg = new SkinPanel(QStringLiteral("minImg"), m_RzPanel1);
    m_minImg->setGeometry(0, 0, 32, 19);
    m_minImg->setPainter(captionPicture([this] { return m_caption.minImage(); }));
    connect(m_minImg, &SkinPanel::clicked, this, [this] { callIfSet(m_callbacks.minImgClicked); });
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
    connect(m_MaxImg, &SkinPanel::clicked, this, &TitleBand::MaxImgClick);
    connect(m_MaxImg, &SkinPanel::entered, this, &TitleBand::MaxImgMouseEnter);
    connect(m_MaxImg, &SkinPanel::left, this, &TitleBand::MaxImgMouseLeave);
    m_ClsImg = new SkinPanel(QStringLiteral("ClsImg"), m_RzPanel1);
    m_ClsImg->setGeometry(64, 0, 42, 19);
    m_ClsImg->setPainter(captionPicture([] { return CaptionButtons::kClose; }));
    connect(m_ClsImg, &SkinPanel::clicked, this, [this] { callIfSet(m_callbacks.ClsImgClicked); });
}

QList<QWidget*> TitleBand::edgePanels() {
    return {this, m_logoPae, m_topPae2, m_RzPanel5, m_RzPanel6};
}

void TitleBand::startWindowMove(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}

void TitleBand::showHoverPicture(bool hovered) {
    // The member's picture stays as it is; the guest's shows LOGO2 while the mouse is on it.
    if (m_logIMG->tag() != 0)
        return;
    m_logIMGPicture = hovered ? skin().memberPicture : skin().guestPicture;
    m_logIMG->update();
}

void TitleBand::setMemberPicture(bool member) {
    m_logIMG->setTag(member ? 1 : 0);
    m_logIMGPicture = member ? skin().memberPicture : skin().guestPicture;
    m_logIMG->update();
}

void TitleBand::setMemberState(bool member, const QString& userLabel) {
    setMemberPicture(member);
    m_topUNLab->setText(userLabel);
}

void TitleBand::applySkin() {
    m_caption = CaptionButtons();
    setMemberPicture(false);
}

void TitleBand::layoutBand(const QRect& bounds) {
    const int right = std::max(0, bounds.width() - kLogoWidth);
    setGeometry(bounds);
    m_logoPae->setGeometry(0, 0, kLogoWidth, FormLayout::kTopBand);
    m_RzPanel2->setGeometry(kLogoWidth, 0, right, FormLayout::kTopBand);
    m_topPae2->setGeometry(0, 0, right, kTitleHeight);
    const int barHeight = FormLayout::kTopBand - kTitleHeight;
    m_RzPanel5->setGeometry(0, kTitleHeight, std::max(0, right - kServiceBarWidth), barHeight);
    m_RzPanel6->setGeometry(right - kServiceBarWidth, kTitleHeight, kServiceBarWidth, barHeight);
    m_ClsImg->update();
}

std::optional<QRegion> TitleBand::logoCutOut() const {
    // Cut from the 1× plate: the window's shape is the same on every screen.
    const QImage plate =
        SkinImages::load(QStringLiteral("TOPIMG") + QString::number(SkinImages::kLogoPlate), 1.0);
    if (plate.isNull())
        return std::nullopt;
    const QImage scaled = plate.size() == m_logoPae->size()
                              ? plate
                              : plate.scaled(m_logoPae->size(), Qt::IgnoreAspectRatio);
    // The region of a bitmap made with MaskOutColor holds exactly the key-coloured pixels.
    const QRegion keyed(
        QBitmap::fromImage(scaled.createMaskFromColor(kKeyColour.rgb(), Qt::MaskOutColor)));
    // The band sits at the window's top-left corner: its coordinates are the window's.
    return keyed.translated(m_logoPae->pos());
}

void TitleBand::MaxImgClick() {
    QWidget* w = window();
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : w->geometry();
    const QRect workArea = screen ? screen->availableGeometry() : w->geometry();
    w->setGeometry(m_caption.toggle(w->geometry(), screenRect, workArea));
    m_MaxImg->update();
}

void TitleBand::MaxImgMouseEnter() {
    m_caption.maxEnter();
    m_MaxImg->update();
}

void TitleBand::MaxImgMouseLeave() {
    m_caption.maxLeave();
    m_MaxImg->update();
}

bool TitleBand::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_topUNLab && event->type() == QEvent::MouseButtonRelease) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && m_topUNLab->rect().contains(e->position().toPoint()))
            callIfSet(m_callbacks.topUNLabClicked);
    }
    return false;
}

} // namespace kovan
