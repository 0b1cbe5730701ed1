#pragma once

#include <QImage>
#include <QWidget>

namespace kovan {

// `pvPae`: the video surface. Paints #1A1A1A and the current picture scaled to fit with its
// aspect kept, centred. GUI thread only.
class VideoSurface : public QWidget {
    Q_OBJECT
public:
    explicit VideoSurface(QWidget* parent = nullptr);

    void setFrame(const QImage& frame);
    void clear() { setFrame(QImage()); }
    const QImage& frame() const { return m_frame; }
    // Where the picture lands inside `area` (empty for a null picture).
    static QRect fitted(const QSize& picture, const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
};

} // namespace kovan
