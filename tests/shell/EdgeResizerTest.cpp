#include "shell/EdgeResizer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace kovan {
namespace {

void moveTo(QWidget* w, QPoint local) {
    QMouseEvent e(QEvent::MouseMove, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(EdgeResizer, CursorFollowsTheZonesOverAWatchedPanel) {
    QWidget window;
    window.resize(920, 585);
    auto* band = new QWidget(&window);
    band->setGeometry(0, 558, 920, 27); // the status band along the bottom
    auto* button = new QWidget(&window);
    button->setGeometry(0, 0, 30, 30);
    button->setCursor(Qt::PointingHandCursor);
    EdgeResizer edges(&window, [] { return true; });
    edges.watch(band);
    edges.watch(button);

    moveTo(band, {1, 25}); // window (1, 583): bottom-left corner
    EXPECT_EQ(band->cursor().shape(), Qt::SizeBDiagCursor);
    moveTo(band, {400, 26}); // bottom edge
    EXPECT_EQ(band->cursor().shape(), Qt::SizeVerCursor);
    moveTo(band, {919, 10}); // right edge
    EXPECT_EQ(band->cursor().shape(), Qt::SizeHorCursor);
    moveTo(band, {400, 10});
    EXPECT_EQ(band->cursor().shape(), Qt::ArrowCursor);

    // A panel with a cursor of its own gets it back after leaving a zone.
    moveTo(button, {1, 1});
    EXPECT_EQ(button->cursor().shape(), Qt::SizeFDiagCursor);
    moveTo(button, {15, 15});
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
}

} // namespace
} // namespace kovan
