#pragma once

#include <QPixmap>
#include <QWidget>

namespace kovan {

// The content pane's title bar (ConTopPae), 39 high: the caption centred in white, size 11,
// over the bar image stretched to the whole bar. GUI thread only.
class ContentTitleBar : public QWidget {
    Q_OBJECT
public:
    explicit ContentTitleBar(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    void setBackground(const QPixmap& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    QPixmap m_background;
};

} // namespace kovan
