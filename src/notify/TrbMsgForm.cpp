#include "notify/TrbMsgForm.h"

#include "core/Trace.h"
#include "notify/ClickLabel.h"
#include "notify/NoticeList.h"
#include "notify/NoticeLook.h"
#include "notify/WindowDragFilter.h"
#include "notify/WindowShape.h"
#include "shell/SkinImages.h"
#include "shell/SkinLabel.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace kovan {

namespace {

constexpr int kButtonTop = 174;
constexpr int kButtonTextTop = 178;

void setRunning(QTimer& timer, bool on) {
    if (on && !timer.isActive())
        timer.start();
    else if (!on && timer.isActive())
        timer.stop();
}

QRect primaryWorkArea() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {0, 0, 1920, 1080};
}

} // namespace

TrbMsgForm::TrbMsgForm(const NoticeList& notices, QWidget* parent)
    : QWidget(parent), m_notices(notices), m_workArea(primaryWorkArea) {
    setObjectName(QStringLiteral("rbMsgForm"));
    // A tool window: no taskbar button. It never takes the focus from what the user is doing.
    // On X11 it bypasses the window manager, as notification pop-ups do: a window manager may
    // place managed windows where it likes (weston's XWayland one always does), and the
    // pop-up's place is the work area's corner.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(look::tahoma(11));
    setFixedSize(PopupMotion::kWidth, PopupMotion::kHeight);
    setMask(roundRectRegion(PopupMotion::kWidth, PopupMotion::kHeight, 5, 5));
    m_background = SkinImages::load(QStringLiteral("RBMSGBG"));

    m_Label1 = skinLabel(QStringLiteral("Label1"), QStringLiteral("消息提醒"), look::song(12, true),
                         Qt::white, this);
    m_Label1->setGeometry(8, 7, 203, 12);
    m_Image2 = new ClickLabel(QStringLiteral("Image2"), QRect(215, 3, 22, 20), this);
    m_Image2->setCursor(Qt::PointingHandCursor);
    connect(m_Image2, &ClickLabel::clicked, this, &TrbMsgForm::Image2Click);
    m_msgTitle = skinLabel(QStringLiteral("msgTitle"), QString(), look::song(13), Qt::white, this);
    // 13 px of height clip CJK glyphs of a 13 px font here; the label keeps its top and width.
    m_msgTitle->setGeometry(16, 32, 209, 17);
    m_msgTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_msgInfo = skinLabel(QStringLiteral("msgInfo"), QString(), look::tahoma(12), Qt::black, this);
    m_msgInfo->setGeometry(16, 56, 209, 97);
    m_msgInfo->setWordWrap(true);
    m_msgInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_msgInfo->setTextFormat(Qt::PlainText);
    m_msgTitle->setTextFormat(Qt::PlainText);

    makeButton(m_lastbtimg, m_lastbttxt, QStringLiteral("lastbtimg"), QStringLiteral("lastbttxt"),
               QStringLiteral("上一个"), PopupMotion::kLastImgLeft, PopupMotion::kLastTxtLeft,
               &TrbMsgForm::lastbtimgClick);
    makeButton(m_nextbtimg, m_nextbttxt, QStringLiteral("nextbtimg"), QStringLiteral("nextbttxt"),
               QStringLiteral("下一个"), PopupMotion::kNextImgLeft, PopupMotion::kNextTxtLeft,
               &TrbMsgForm::nextbttxtClick);
    makeButton(m_imgbt3, m_Label2, QStringLiteral("imgbt3"), QStringLiteral("Label2"),
               QStringLiteral("查看"), 174, 192, &TrbMsgForm::Label2Click);

    bindDragging();

    m_Timer1.setInterval(PopupMotion::kSlideInMs);
    m_Timer2.setInterval(PopupMotion::kStayMs);
    m_Timer3.setInterval(PopupMotion::kLeaveMs);
    connect(&m_Timer1, &QTimer::timeout, this, &TrbMsgForm::Timer1Timer);
    connect(&m_Timer2, &QTimer::timeout, this, [this] { Timer2Timer(QCursor::pos()); });
    connect(&m_Timer3, &QTimer::timeout, this, &TrbMsgForm::Timer3Timer);
}

void TrbMsgForm::makeButton(ClickLabel*& image, ClickLabel*& text, const QString& imageName,
                            const QString& labelName, const QString& caption, int imgLeft,
                            int txtLeft, void (TrbMsgForm::*handler)()) {
    image = new ClickLabel(imageName, QRect(imgLeft, kButtonTop, 60, 22), this);
    image->setPixmap(QPixmap::fromImage(SkinImages::load(QStringLiteral("RBMSGBTN"))));
    image->setCursor(Qt::PointingHandCursor);
    text = new ClickLabel(labelName, QRect(txtLeft, kButtonTextTop, 40, 14), this);
    text->setText(caption);
    styleLabel(text, look::tahoma(12), Qt::black);
    text->setCursor(Qt::PointingHandCursor);
    ClickLabel* label = text;
    for (ClickLabel* part : {image, text}) {
        connect(part, &ClickLabel::clicked, this, handler);
        connect(part, &ClickLabel::entered, label,
                [label] { setTextColour(label, look::kLinkBlue); });
        connect(part, &ClickLabel::left, label, [label] { setTextColour(label, Qt::black); });
    }
}

void TrbMsgForm::bindDragging() {
    // Dragged by the window itself, its caption and the title.
    m_drag =
        new WindowDragFilter(this, {[this](const QPoint& cursor) { m_motion.mousePress(cursor); },
                                    [this](const QPoint& cursor) -> std::optional<QPoint> {
                                        if (!m_motion.dragging())
                                            return std::nullopt;
                                        m_motion.mouseMove(cursor);
                                        return m_motion.pos();
                                    },
                                    [this] { m_motion.mouseRelease(); }});
    m_drag->addHandle(m_Label1);
    m_drag->addHandle(m_msgTitle);
}

void TrbMsgForm::setPlacesItself(bool on) {
    m_drag->setWindowPlacesItself(on);
    // Where the compositor places windows there is no window manager to bypass: an ordinary
    // window the member can browse the notices in. Set before the first show (the module
    // does so when it builds the pop-up), so no native window is made again.
    if (bool(windowFlags() & Qt::BypassWindowManagerHint) != on)
        setWindowFlag(Qt::BypassWindowManagerHint, on);
}

QLabel* TrbMsgForm::msgTitle() const {
    return m_msgTitle;
}

QLabel* TrbMsgForm::msgInfo() const {
    return m_msgInfo;
}

void TrbMsgForm::showMsg(int inx) {
    if (!m_motion.visible()) {
        m_motion.setWorkArea(m_workArea());
        if (traceEnabled()) {
            const QRect wa = m_motion.workArea();
            trace(QStringLiteral("rbMsgForm work area %1,%2 %3x%4")
                      .arg(wa.x())
                      .arg(wa.y())
                      .arg(wa.width())
                      .arg(wa.height()));
        }
    }
    const PopupMotion::Shown shown = m_motion.showMsg(inx, m_notices.size());
    if (shown == PopupMotion::Shown::Hidden) {
        sync();
        return;
    }
    placeButtons();
    const rbMsgRecord& notice = m_notices.at(m_motion.index());
    m_msgTitle->setText(notice.title);
    m_msgInfo->setText(notice.content);
    sync();
    // Every show or browse restarts the stay from its beginning.
    m_Timer2.start();
    if (shown == PopupMotion::Shown::Entered) {
        raise();
        traceStep("shown");
    }
}

void TrbMsgForm::showNewest() {
    if (!m_notices.isEmpty())
        showMsg(-1);
}

void TrbMsgForm::placeButtons() {
    const PopupMotion::Buttons b = m_motion.buttons();
    m_lastbtimg->setVisible(b.lastVisible);
    m_lastbttxt->setVisible(b.lastVisible);
    m_nextbtimg->setVisible(b.nextVisible);
    m_nextbttxt->setVisible(b.nextVisible);
    m_lastbtimg->move(b.lastImgLeft, kButtonTop);
    m_lastbttxt->move(b.lastTxtLeft, kButtonTextTop);
}

void TrbMsgForm::lastbtimgClick() {
    if (const int i = m_motion.previousIndex(); i >= 0)
        showMsg(i);
}

void TrbMsgForm::nextbttxtClick() {
    if (const int i = m_motion.nextIndex(m_notices.size()); i >= 0)
        showMsg(i);
}

void TrbMsgForm::Label2Click() {
    const int i = m_motion.index();
    if (!m_notices.contains(i))
        return;
    // The action may raise the main window; the pop-up leaves either way.
    const rbMsgRecord notice = m_notices.at(i);
    runNoticeAction(notice, m_targets);
    m_motion.startLeave();
    sync();
}

void TrbMsgForm::Image2Click() {
    close();
}

void TrbMsgForm::Timer1Timer() {
    m_motion.slideInTick();
    sync();
    traceStep(m_motion.slideInRunning() ? "slide-in" : "rests");
}

void TrbMsgForm::Timer2Timer(const QPoint& cursor) {
    m_motion.stayTick(cursor);
    sync();
    if (m_motion.leaveRunning())
        traceStep("leaves");
}

void TrbMsgForm::Timer3Timer() {
    m_motion.leaveTick();
    sync();
    traceStep(m_motion.visible() ? "leave" : "hidden");
}

void TrbMsgForm::sync() {
    if (m_motion.visible()) {
        if (pos() != m_motion.pos())
            move(m_motion.pos());
        if (!isVisible())
            show();
    } else if (isVisible()) {
        hide();
    }
    setRunning(m_Timer1, m_motion.slideInRunning());
    setRunning(m_Timer2, m_motion.stayRunning());
    setRunning(m_Timer3, m_motion.leaveRunning());
}

void TrbMsgForm::traceStep(const char* what) const {
    if (!traceEnabled())
        return;
    const QPoint p = m_motion.pos();
    trace(QStringLiteral("rbMsgForm %1 at %2,%3")
              .arg(QString::fromLatin1(what))
              .arg(p.x())
              .arg(p.y()));
}

void TrbMsgForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_background.isNull())
        p.fillRect(rect(), look::kBarBlue);
    else
        p.drawImage(rect(), m_background);
}

void TrbMsgForm::closeEvent(QCloseEvent* event) {
    m_motion.close();
    setRunning(m_Timer1, false);
    setRunning(m_Timer2, false);
    setRunning(m_Timer3, false);
    event->accept();
}

void TrbMsgForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Hidden from outside (exit, a closed display): nothing keeps running.
    if (m_motion.visible())
        m_motion.close();
    setRunning(m_Timer1, false);
    setRunning(m_Timer2, false);
    setRunning(m_Timer3, false);
}

} // namespace kovan
