#pragma once

#include "notify/NoticeActions.h"
#include "notify/PopupMotion.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace kovan {

class ClickLabel;
class NoticeList;
class WindowDragFilter;

// The corner pop-up (rbMsgForm): 243 × 202, borderless, rounded, without a taskbar button,
// outside the window manager's placement on X11.
// It shows one notice of the list, slides up into the bottom-right corner of the work area,
// stays while the mouse rests on it, leaves after three stay ticks, and lets the user browse
// the notices and carry out the current one's action. PopupMotion holds the rules; this class
// binds them to the three timers (each runs only while its phase does, so a hidden pop-up
// costs nothing) and mirrors position and visibility.
//
// Created hidden at start-up, kept for the whole run. GUI thread only.
class TrbMsgForm : public QWidget {
    Q_OBJECT
public:
    explicit TrbMsgForm(const NoticeList& notices, QWidget* parent = nullptr);

    void setActionTargets(NoticeActionTargets targets) { m_targets = std::move(targets); }
    // The desktop work area (default: the primary screen's available geometry).
    void setWorkAreaSource(std::function<QRect()> source) { m_workArea = std::move(source); }

    // Off where the compositor places windows: the pop-up is dragged through it.
    void setPlacesItself(bool on);

    // Shows notice `inx` (−1: the newest); an index outside the list hides the window.
    void showMsg(int inx);
    // Tray item "提醒事件(&H)": the newest notice, when there is one.
    void showNewest();

    // Handlers, callable directly.
    void lastbtimgClick(); // "上一个"
    void nextbttxtClick(); // "下一个"
    void Label2Click();    // "查看"
    void Image2Click();    // close glyph

    // Timer ticks, callable directly (tests pass the cursor position).
    void Timer1Timer();
    void Timer2Timer(const QPoint& cursor);
    void Timer3Timer();

    const PopupMotion& motion() const { return m_motion; }
    const QTimer& timer1() const { return m_Timer1; }
    const QTimer& timer2() const { return m_Timer2; }
    const QTimer& timer3() const { return m_Timer3; }
    QLabel* msgTitle() const;
    QLabel* msgInfo() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // A button picture and its label, both clickable, the label blue while the mouse is over
    // either.
    void makeButton(ClickLabel*& image, ClickLabel*& text, const QString& imageName,
                    const QString& labelName, const QString& caption, int imgLeft, int txtLeft,
                    void (TrbMsgForm::*handler)());
    void placeButtons();
    // Dragging by the window itself, its caption and the title (PopupMotion's rules).
    void bindDragging();
    // Applies the rules' position, visibility and timers to the window.
    void sync();
    void traceStep(const char* what) const;

    const NoticeList& m_notices;
    NoticeActionTargets m_targets;
    std::function<QRect()> m_workArea;
    WindowDragFilter* m_drag = nullptr;
    PopupMotion m_motion;
    QImage m_background;

    QLabel* m_Label1 = nullptr;
    ClickLabel* m_Image2 = nullptr;
    QLabel* m_msgTitle = nullptr;
    QLabel* m_msgInfo = nullptr;
    ClickLabel* m_lastbtimg = nullptr;
    ClickLabel* m_lastbttxt = nullptr;
    ClickLabel* m_nextbtimg = nullptr;
    ClickLabel* m_nextbttxt = nullptr;
    ClickLabel* m_imgbt3 = nullptr;
    ClickLabel* m_Label2 = nullptr;

    QTimer m_Timer1; // slide-in, 100 ms
    QTimer m_Timer2; // stay, 10 000 ms
    QTimer m_Timer3; // leave, 100 ms
};

} // namespace kovan
