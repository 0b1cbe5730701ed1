#pragma once

#include <QWidget>

namespace kovan {

// The member login dialog.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class Tauform : public QWidget {
    Q_OBJECT
public:
    explicit Tauform(QWidget* parent = nullptr);
};

} // namespace kovan
