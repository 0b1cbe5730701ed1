#pragma once

#include <QWidget>

namespace kovan {

// The video window.
// Created hidden at start-up and kept for the whole run. GUI thread only.
class TvdoForm : public QWidget {
    Q_OBJECT
public:
    explicit TvdoForm(QWidget* parent = nullptr);
};

} // namespace kovan
