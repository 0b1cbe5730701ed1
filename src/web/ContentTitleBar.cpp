#include "web/ContentTitleBar.h"

#include <QLinearGradient>
#include <QPainter>

namespace kovan {

ContentTitleBar::ContentTitleBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ConTopPae"));
    setFixedHeight(39);
}

void ContentTitleBar::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void ContentTitleBar::setBackground(const QPixmap& image) {
    m_background = image;
    update();
}

void ContentTitleBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_background.isNull()) {
        p.drawPixmap(rect(), m_background);
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x1B, 0x6F, 0xC0));
        g.setColorAt(1, QColor(0x01, 0x3E, 0x7F));
        p.fillRect(rect(), g);
    }
    QFont f = font();
    f.setPointSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(rect(), Qt::AlignCenter, m_caption);
}

} // namespace kovan
