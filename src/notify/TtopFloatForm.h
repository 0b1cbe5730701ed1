#pragma once

#include <QWidget>

namespace kovan {

// The floating bar near the top of the screen: the latest instant trade and the news ticker.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TtopFloatForm : public QWidget {
    Q_OBJECT
public:
    explicit TtopFloatForm(QWidget* parent = nullptr);

    // Places the bar at its position near the top centre of the work area.
    void setPos();
};

} // namespace kovan
