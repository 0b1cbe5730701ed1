#pragma once

#include <QLabel>

namespace kovan {

// A label (text or picture) that reports clicks, double clicks and the mouse entering and
// leaving: the buttons, captions and pictures of the notice windows. It takes the presses it
// gets (the windows drag through event filters on their handles). GUI thread only.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
    ClickLabel(const QString& name, const QRect& geometry, QWidget* parent);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void entered();
    void left();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace kovan
