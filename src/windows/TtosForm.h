#pragma once

#include <QWidget>

namespace kovan {

// The chart terms window, shown once before the first chart.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TtosForm : public QWidget {
    Q_OBJECT
public:
    explicit TtosForm(QWidget* parent = nullptr);
};

} // namespace kovan
