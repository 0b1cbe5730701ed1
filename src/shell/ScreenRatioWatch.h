#pragma once

#include <QPointer>
#include <QWindow>

class QWidget;

namespace kovan {

// For a widget that draws at its screen's device pixels. Qt 6.4 sends no event when a window
// moves to a screen with another device pixel ratio, so the widget follows its top-level
// window's screen and repaints when it changes; its paint then reads the new ratio.
// GUI thread only; lives as long as the widget (a member of it).
class ScreenRatioWatch {
public:
    explicit ScreenRatioWatch(QWidget& widget) : m_widget(widget) {}

    // From the widget's showEvent: its top-level window has a handle by then. Following the
    // same window again does nothing; a new top-level window (after reparenting) replaces it.
    void follow();

private:
    QWidget& m_widget;
    QPointer<QWindow> m_watched;
};

} // namespace kovan
