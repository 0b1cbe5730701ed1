#pragma once

#include "notify/WindowDrag.h"

#include <QPoint>
#include <QRect>

namespace kovan {

// The corner pop-up's rules without a window: which notice shows, the browsing buttons, the
// slide-in, stay and leave timers with their steps, and dragging. TrbMsgForm binds it to three
// QTimers (slide-in 100 ms, stay 10 000 ms, leave 100 ms) and mirrors position and visibility;
// tests drive the ticks directly. All coordinates are screen coordinates. GUI thread only.
class PopupMotion {
public:
    static constexpr int kWidth = 243;
    static constexpr int kHeight = 202;
    static constexpr int kSlideInMs = 100;
    static constexpr int kStayMs = 10000;
    static constexpr int kLeaveMs = 100;
    // Lefts of the browsing buttons (image, label).
    static constexpr int kLastImgLeft = 38, kLastTxtLeft = 49;
    static constexpr int kNextImgLeft = 105, kNextTxtLeft = 116;

    enum class Shown {
        Hidden,  // the index was out of range: the window is hidden, all timers off
        Entered, // the window was hidden: it now stands just below the work area, sliding in
        Updated, // the window was up already: content replaced where it stands
    };

    struct Buttons {
        bool lastVisible = false; // "上一个"
        bool nextVisible = false; // "下一个"
        int lastImgLeft = kLastImgLeft;
        int lastTxtLeft = kLastTxtLeft;
        bool operator==(const Buttons&) const = default;
    };

    // The desktop work area (the primary screen's available geometry); the pop-up rests in its
    // bottom-right corner.
    void setWorkArea(const QRect& area) { m_work = area; }
    QRect workArea() const { return m_work; }
    QPoint restingPos() const;

    // showMsg(_inx): −1 means the newest of `count` notices.
    Shown showMsg(int index, int count);
    void slideInTick(); // Timer1
    // Timer2; `cursor` is the mouse position at the tick.
    void stayTick(const QPoint& cursor);
    void leaveTick(); // Timer3
    // "查看": the leave starts at once.
    void startLeave();
    // Close button, exit, forced logout: hidden with every timer off.
    void close();

    // Previous/next target for the browsing buttons (−1 when there is none).
    int previousIndex() const { return m_index > 0 ? m_index - 1 : -1; }
    int nextIndex(int count) const { return m_index < count - 1 ? m_index + 1 : -1; }

    // Dragging by the window, its caption or the title: only while neither the slide-in nor
    // the leave runs and with the cursor strictly inside the window.
    void mousePress(const QPoint& cursor);
    void mouseMove(const QPoint& cursor);
    void mouseRelease() { m_drag.release(); }
    bool dragging() const { return m_drag.dragging(); }

    int index() const { return m_index; }
    Buttons buttons() const { return m_buttons; }
    bool visible() const { return m_visible; }
    QPoint pos() const { return m_pos; }
    QRect rect() const { return QRect(m_pos, QSize(kWidth, kHeight)); }
    bool slideInRunning() const { return m_slideIn; }
    bool stayRunning() const { return m_stay; }
    bool leaveRunning() const { return m_leave; }
    int slideInCounter() const { return m_slideCounter; }
    int stayCounter() const { return m_stayCounter; }

private:
    // Work-area extents as the rules use them: right and bottom are one past the last pixel.
    int workRight() const { return m_work.left() + m_work.width(); }
    int workBottom() const { return m_work.top() + m_work.height(); }
    void stopAll() { m_slideIn = m_stay = m_leave = false; }

    QRect m_work{0, 0, 1920, 1080};
    QPoint m_pos;
    bool m_visible = false;
    int m_index = 0;        // the window's Tag
    int m_slideCounter = 0; // Timer1.Tag: 0 for the first slide-in of the run
    int m_stayCounter = 0;  // Timer2.Tag
    bool m_slideIn = false, m_stay = false, m_leave = false;
    Buttons m_buttons;
    WindowDrag m_drag;
};

} // namespace kovan
