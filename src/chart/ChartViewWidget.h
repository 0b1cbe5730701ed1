#pragma once

#include "shell/ScreenRatioWatch.h"

#include <QWidget>

namespace kovan {

class ChartController;

// MVI: the chart view of a chart window. Paints the view's bitmap layers bottom-up and passes
// mouse, wheel, key and size to the window's controller. Paints only when a frame was
// published (or the window system asks); it has no timer of its own. GUI thread only.
class ChartViewWidget : public QWidget {
    Q_OBJECT
public:
    ChartViewWidget(ChartController& controller, QWidget* parent = nullptr);
    ~ChartViewWidget() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showMode(bool cross);
    // A publish changed `changed` (the bitmaps' pixels; empty: everything).
    void repaintChanged(const QRegion& changed);

    ChartController& m_controller;
    ScreenRatioWatch m_screenWatch{*this}; // follows the window from screen to screen
    bool m_barsShown = false;              // traced once
};

} // namespace kovan
