#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QWidget;

namespace kovan {

// Drags a borderless window (the corner pop-up, the floating bar) by the mouse: presses, moves
// and releases on the window and on its drag handles (captions, panels) go to the window's
// drag rules (WindowDrag inside PopupMotion or FloatBarState), and the window moves where the
// rules say. The window's own mouse events end here; a handle's go on to the handle, which may
// pass them up to the window (the rules take the same cursor twice without moving twice).
// Screen coordinates. GUI thread only.
//
// Where windows cannot place themselves (native Wayland: move() is ignored), a left press
// hands the drag to the compositor (QWindow::startSystemMove) instead of the rules.
class WindowDragFilter : public QObject {
    Q_OBJECT
public:
    struct Rules {
        std::function<void(const QPoint& cursor)> press;
        // Where the window goes with the cursor at `cursor`; none while no drag runs.
        std::function<std::optional<QPoint>(const QPoint& cursor)> move;
        std::function<void()> release;
    };

    // Watches `window` itself; a child of it.
    WindowDragFilter(QWidget* window, Rules rules);

    void addHandle(QWidget* handle);
    // Off: the compositor moves the window (see the class comment). Default on.
    void setWindowPlacesItself(bool on) { m_placesItself = on; }
    bool windowPlacesItself() const { return m_placesItself; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drag(QEvent* event);

    QWidget* m_window;
    Rules m_rules;
    bool m_placesItself = true;
};

} // namespace kovan
