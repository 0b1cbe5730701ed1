#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace kovan {

// Gives a borderless window its resize zones (HitZones) over the panels that cover its edges:
// watched panels show the sizing cursor inside a zone, and a left press there starts the
// window system's resize of those edges. GUI thread only.
class EdgeResizer : public QObject {
    Q_OBJECT
public:
    // `window`: the top-level whose edges count. `enabled`: asked on every press (the main
    // window turns resizing off while maximised).
    EdgeResizer(QWidget* window, std::function<bool()> enabled, QObject* parent = nullptr);

    // Watches a panel's mouse moves and presses (and turns on its mouse tracking).
    void watch(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::function<bool()> m_enabled;
};

} // namespace kovan
