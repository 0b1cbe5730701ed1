#pragma once

#include <QPixmap>
#include <QWidget>

namespace kovan {

// A skinned push button of the content pane ("返回", "刷新"): a left cap, a stretched middle
// and a right cap image with the caption centred in white. Without images it paints a plain
// rounded button in the skin's blue. GUI thread only.
class PaneButton : public QWidget {
    Q_OBJECT
public:
    PaneButton(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    // Left cap (4 pixels wide), middle (stretched), right cap (4 pixels wide).
    void setImages(const QPixmap& left, const QPixmap& middle, const QPixmap& right);

    // Clicks the button as a mouse release over it would.
    void click() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QPixmap m_left, m_middle, m_right;
};

} // namespace kovan
