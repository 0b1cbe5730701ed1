#pragma once

#include <QWidget>

namespace kovan {

// The plain web window.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TcsnmForm : public QWidget {
    Q_OBJECT
public:
    explicit TcsnmForm(QWidget* parent = nullptr);
};

} // namespace kovan
