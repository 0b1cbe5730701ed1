#pragma once

#include <QWidget>

namespace kovan {

// The lecture pop-up.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TftForm : public QWidget {
    Q_OBJECT
public:
    explicit TftForm(QWidget* parent = nullptr);
};

} // namespace kovan
