#include "windows/TftForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QtMath>

namespace kovan {

namespace {

// One frame of the microphone-and-waves picture (128 × 128) shown in Image1.
QPixmap lectureFrame(int frame) {
    QPixmap pm(128, 128);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(QRectF(50, 22, 28, 50), 14, 14); // microphone head
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(38, 36, 52, 52), 200 * 16, 140 * 16);
    p.drawLine(QPointF(64, 88), QPointF(64, 104));
    p.drawLine(QPointF(48, 106), QPointF(80, 106));
    for (int wave = 0; wave < 3; ++wave) {
        const int alpha = ((frame + wave) % 3 == 0) ? 255 : 90;
        p.setPen(QPen(QColor(255, 204, 0, alpha), 4, Qt::SolidLine, Qt::RoundCap));
        const double r = 44 + wave * 12;
        p.drawArc(QRectF(64 - r, 48 - r, 2 * r, 2 * r), -30 * 16, 60 * 16);
        p.drawArc(QRectF(64 - r, 48 - r, 2 * r, 2 * r), 150 * 16, 60 * 16);
    }
    return pm;
}

QPushButton* imageButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setFixedSize(77, 27);
    b->setStyleSheet(QStringLiteral(
        "QPushButton{color:#006699;background:#ffffff;border:1px solid #99ccee;border-radius:3px}"
        "QPushButton:hover{background:#ffcc00;color:#003355}"));
    return b;
}

} // namespace

TftForm::TftForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("ftForm"));
    setWindowTitle(QString());
    setModal(true);
    setFixedSize(222, 293);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x00, 0x66, 0x99));
    setPalette(pal);

    m_Image1 = new QLabel(this);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setGeometry(50, 8, 128, 128);

    m_Label1 = new QLabel(this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(34, 158, 153, 76);
    m_Label1->setAlignment(Qt::AlignCenter);
    m_Label1->setStyleSheet(QStringLiteral("color:white;font-family:Tahoma;font-size:16px"));

    m_RzBitBtn1 = imageButton(QStringLiteral("RzBitBtn1"), QStringLiteral("去听听"), this);
    m_RzBitBtn1->move(11, 257);
    m_RzBitBtn2 = imageButton(QStringLiteral("RzBitBtn2"), QStringLiteral("别烦我"), this);
    m_RzBitBtn2->move(134, 257);
    connect(m_RzBitBtn1, &QPushButton::clicked, this, &TftForm::RzBitBtn1Click);
    connect(m_RzBitBtn2, &QPushButton::clicked, this, &TftForm::RzBitBtn2Click);

    m_animation = new QTimer(this);
    m_animation->setInterval(300);
    connect(m_animation, &QTimer::timeout, this, &TftForm::advanceAnimation);
    FormCreate();
}

void TftForm::FormCreate() {
    // Rounded outline from (1, 1) to (width − 2, height − 2), corners 10 × 10.
    QPainterPath path;
    path.addRoundedRect(QRectF(1, 1, width() - 3, height() - 3), 5, 5);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    advanceAnimation();
}

void TftForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_animation->start();
}

void TftForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // The window lives hidden for the whole run; a hidden picture must not keep the GUI
    // thread waking three times a second.
    m_animation->stop();
}

bool TftForm::animating() const {
    return m_animation->isActive();
}

void TftForm::advanceAnimation() {
    if (m_frames.isEmpty()) {
        for (int i = 0; i < kFrameCount; ++i)
            m_frames.append(lectureFrame(i));
    }
    m_Image1->setPixmap(m_frames.at(m_frame));
    m_frame = (m_frame + 1) % kFrameCount;
}

bool TftForm::showLecture(const LectureConfig& lecture) {
    if (!lecture.configured())
        return false;
    m_lecture = lecture;
    m_Label1->setText(lecture.lines.join(u'\n'));
    exec();
    return true;
}

void TftForm::RzBitBtn1Click() {
    close();
    if (shownormalwindow)
        shownormalwindow(m_lecture.roomTitle(), m_lecture.roomUrl);
}

void TftForm::RzBitBtn2Click() {
    close();
}

} // namespace kovan
