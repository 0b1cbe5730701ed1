#pragma once

#include <QMouseEvent>
#include <QWidget>

#include <functional>

namespace kovan {

// A plain panel of the skinned window: it draws itself through a paint function (images from
// the skin and fixed colours), carries an integer Tag for its visual or page state, and reports
// mouse events as signals. Buttons, bars and bands of the main window are all SkinPanels.
// GUI thread only.
class SkinPanel : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter& p, const SkinPanel& self)>;

    explicit SkinPanel(const QString& name, QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // Caption for buttons that draw one.
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);

    void setPainter(Painter painter);

    // Draws `text` centred the skin's way: x = (w − text width) div 2, y = (h − text height)
    // div 2, in the painter's font and pen.
    static void drawCentred(QPainter& p, const QRect& area, const QString& text);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void pressed(QMouseEvent* event);
    void released(QMouseEvent* event);
    void entered();
    void left();
    void contextMenuAsked(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int m_tag = 0;
    QString m_caption;
    Painter m_painter;
    bool m_pressedInside = false;
};

} // namespace kovan
