#include "shell/ScreenRatioWatch.h"

#include <QScreen> // QWindow::screenChanged carries one
#include <QWidget>

namespace kovan {

void ScreenRatioWatch::follow() {
    QWindow* handle = m_widget.window()->windowHandle();
    if (!handle || handle == m_watched)
        return;
    if (m_watched)
        QObject::disconnect(m_watched, &QWindow::screenChanged, &m_widget, nullptr);
    m_watched = handle;
    QWidget* widget = &m_widget;
    QObject::connect(handle, &QWindow::screenChanged, widget, [widget] { widget->update(); });
}

} // namespace kovan
