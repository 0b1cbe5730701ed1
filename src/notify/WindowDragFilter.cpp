#include "notify/WindowDragFilter.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kovan {

WindowDragFilter::WindowDragFilter(QWidget* window, Rules rules)
    : QObject(window), m_window(window), m_rules(std::move(rules)) {
    window->installEventFilter(this);
}

void WindowDragFilter::addHandle(QWidget* handle) {
    handle->installEventFilter(this);
}

bool WindowDragFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        drag(event);
        break;
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    // The window takes its mouse events (a double click included) and does nothing more with
    // them.
    if (watched == m_window) {
        event->accept();
        return true;
    }
    return false;
}

void WindowDragFilter::drag(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!m_placesItself) {
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
            if (QWindow* handle = m_window->windowHandle())
                handle->startSystemMove();
        return;
    }
    const QPoint cursor = mouse->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_rules.press(cursor);
        break;
    case QEvent::MouseMove:
        if (const std::optional<QPoint> to = m_rules.move(cursor))
            m_window->move(*to);
        break;
    default:
        m_rules.release();
        break;
    }
}

} // namespace kovan
