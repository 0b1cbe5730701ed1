#include "shell/StatusBand.h"

#include "shell/SkinImages.h"
#include "shell/SkinLabel.h"
#include "shell/SkinPainters.h"

#include <QLabel>
#include <QTimer>

namespace kovan {

namespace {
constexpr int kIconWidth = 33;
constexpr int kMottoWidth = 160;
constexpr int kClockWidth = 160;

QLabel* whiteLabel(const QString& name, const QFont& font, Qt::Alignment align, QWidget* parent) {
    QLabel* l = skinLabel(name, QString(), font, Qt::white, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}
} // namespace

StatusBand::StatusBand(QWidget* parent, ClockText clock)
    : SkinPanel(QStringLiteral("bgBPae"), parent), m_clock(std::move(clock)) {
    setPainter(SkinPainters::statusBand());

    m_Image1 = new SkinPanel(QStringLiteral("Image1"), this);
    m_Image1->setPainter(SkinPainters::centred([] { return skin().statusIcon; }));

    const QFont yahei = SkinPainters::captionFont(12);
    m_btmleftlabel = whiteLabel(QStringLiteral("btmleftlabel"), yahei, Qt::AlignLeft, this);
    m_btmtiplab = whiteLabel(QStringLiteral("btmtiplab"), yahei, Qt::AlignHCenter, this);
    m_btmtiplab->setText(disclaimer());
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(8);
    m_datetimelabel = whiteLabel(QStringLiteral("datetimelabel"), tahoma, Qt::AlignHCenter, this);
    m_datetimelabel->setText(ClockText::designText());

    m_audopenimg = new SkinPanel(QStringLiteral("audopenimg"), this);
    m_audopenimg->setTag(1);
    m_audopenimg->setCursor(Qt::PointingHandCursor);
    m_audopenimg->setPainter(SkinPainters::centred([] { return skin().speakerOn; }));
    m_audcloseimg = new SkinPanel(QStringLiteral("audcloseimg"), this);
    m_audcloseimg->setCursor(Qt::PointingHandCursor);
    m_audcloseimg->setPainter(SkinPainters::centred([] { return skin().speakerOff; }));
    m_audcloseimg->hide();
    connect(m_audopenimg, &SkinPanel::clicked, this, &StatusBand::audopenimgClick);
    connect(m_audcloseimg, &SkinPanel::clicked, this, &StatusBand::audcloseimgClick);

    m_Timer1 = new QTimer(this);
    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_Timer1->setInterval(1000);
    connect(m_Timer1, &QTimer::timeout, this, &StatusBand::Timer1Timer);
    m_Timer2 = new QTimer(this);
    m_Timer2->setObjectName(QStringLiteral("Timer2"));
    m_Timer2->setInterval(300);
    connect(m_Timer2, &QTimer::timeout, this, &StatusBand::Timer2Timer);
}

void StatusBand::showEvent(QShowEvent* event) {
    SkinPanel::showEvent(event);
    m_Timer1->start();
    m_Timer2->start();
}

void StatusBand::hideEvent(QHideEvent* event) {
    SkinPanel::hideEvent(event);
    m_Timer1->stop();
    m_Timer2->stop();
}

bool StatusBand::soundOn() const {
    return m_audopenimg->tag() == 1;
}

void StatusBand::Timer1Timer() {
    m_datetimelabel->setText(m_clock.tick());
}

void StatusBand::Timer2Timer() {
    m_btmleftlabel->setText(m_motto.tick());
}

void StatusBand::audopenimgClick() {
    if (audopenimgClicked)
        audopenimgClicked();
    else
        showSoundSwitch(false);
}

void StatusBand::audcloseimgClick() {
    if (audcloseimgClicked)
        audcloseimgClicked();
    else
        showSoundSwitch(true);
}

void StatusBand::showSoundSwitch(bool on) {
    const bool changed = soundOn() != on;
    m_audopenimg->setTag(on ? 1 : 0);
    m_audopenimg->setVisible(on);
    m_audcloseimg->setVisible(!on);
    if (changed)
        Q_EMIT soundSwitched(on);
}

void StatusBand::layoutChildren() {
    const int h = height();
    m_Image1->setGeometry(0, 0, kIconWidth, h);
    m_btmleftlabel->setGeometry(kIconWidth, 0, kMottoWidth, h);
    m_datetimelabel->setGeometry(width() - kClockWidth, 0, kClockWidth, h);
    const int rest = std::max(0, width() - kClockWidth - kIconWidth - kMottoWidth);
    m_btmtiplab->setGeometry(kIconWidth + kMottoWidth, 0, rest, h);
    const int left = width() - m_datetimelabel->width() - 28;
    m_audopenimg->setGeometry(left, 5, 25, 18);
    m_audcloseimg->setGeometry(left, 5, 25, 18);
    m_audopenimg->raise();
    m_audcloseimg->raise();
}

} // namespace kovan
