#include "shell/EdgeResizer.h"

#include "shell/HitZones.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kovan {

namespace {
// Marks a panel whose cursor this class changed, so that it restores only those.
constexpr char kEdgeCursor[] = "kovanEdgeCursor";
constexpr char kOwnCursor[] = "kovanOwnCursor";
} // namespace

EdgeResizer::EdgeResizer(QWidget* window, std::function<bool()> enabled, QObject* parent)
    : QObject(parent), m_window(window), m_enabled(std::move(enabled)) {}

void EdgeResizer::watch(QWidget* panel) {
    panel->setMouseTracking(true);
    panel->installEventFilter(this);
}

bool EdgeResizer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    const QPoint p = widget->mapTo(m_window, e->position().toPoint());
    const HitZones::Zone zone = HitZones::at(p.x(), p.y(), m_window->width(), m_window->height());
    if (event->type() == QEvent::MouseMove) {
        if (zone != HitZones::Zone::None) {
            if (!widget->property(kEdgeCursor).toBool())
                widget->setProperty(kOwnCursor, int(widget->cursor().shape()));
            widget->setCursor(HitZones::cursor(zone));
            widget->setProperty(kEdgeCursor, true);
        } else if (widget->property(kEdgeCursor).toBool()) {
            widget->setProperty(kEdgeCursor, false);
            widget->setCursor(Qt::CursorShape(widget->property(kOwnCursor).toInt()));
        }
        return false;
    }
    if (e->button() != Qt::LeftButton || (m_enabled && !m_enabled()))
        return false;
    const std::optional<Qt::Edges> edges = HitZones::edges(zone);
    QWindow* handle = m_window->windowHandle();
    if (!edges || !handle)
        return false;
    handle->startSystemResize(*edges);
    return true;
}

} // namespace kovan
