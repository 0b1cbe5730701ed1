#pragma once

#include <QWidget>
#include <QWindow>

namespace kovan {

// Stay-on-top on or off for a top-level widget without re-creating its native window.
// QWidget::setWindowFlag destroys and re-creates a shown window: it is unmapped, gets a new
// window id and, under a window manager, loses its place. Changing the flag on the existing
// QWindow changes only its stacking (_NET_WM_STATE_ABOVE on X11); the widget's own flags are
// kept in step so a later setWindowFlag(s) does not undo it. A window without a native window
// yet just takes the widget flag. GUI thread only.
inline void setStaysOnTop(QWidget* widget, bool onTop) {
    const Qt::WindowFlags flags = onTop ? widget->windowFlags() | Qt::WindowStaysOnTopHint
                                        : widget->windowFlags() & ~Qt::WindowStaysOnTopHint;
    QWindow* window = widget->windowHandle();
    if (!window || !widget->testAttribute(Qt::WA_WState_Created)) {
        widget->setWindowFlags(flags); // nothing native to re-create yet
        return;
    }
    widget->overrideWindowFlags(flags);
    window->setFlags(flags);
}

} // namespace kovan
