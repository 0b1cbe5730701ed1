#include "chart/ChartFont.h"

#include <QPainter>

namespace kovan {

namespace {

int pixelSize(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}

} // namespace

ChartFont::ChartFont(const QString& family, int pointSize)
    : m_family(family), m_pointSize(pointSize) {}

void ChartFont::set(const QString& family, int pointSize) {
    if (family == m_family && pointSize == m_pointSize)
        return;
    m_family = family;
    m_pointSize = pointSize;
    m_metrics.reset();
}

const QFontMetrics& ChartFont::metrics() const {
    if (!m_metrics) {
        m_qfont = QFont(m_family);
        m_qfont.setPixelSize(pixelSize(m_pointSize));
        m_metrics.emplace(m_qfont);
    }
    return *m_metrics;
}

int ChartFont::width(const QString& s) const {
    return metrics().horizontalAdvance(s);
}

int ChartFont::height() const {
    return metrics().height();
}

void ChartFont::draw(QImage& img, int x, int y, const QString& s, quint32 colour,
                     std::vector<ChartTextBox>* boxes) {
    if (img.isNull() || s.isEmpty())
        return;
    const QFontMetrics& fm = metrics();
    QPainter p(&img);
    p.setFont(m_qfont);
    p.setPen(QColor::fromRgba(colour | 0xFF000000u));
    p.drawText(x, y + fm.ascent(), s);
    if (boxes)
        boxes->push_back({QRect(x, y, fm.horizontalAdvance(s), fm.height()), s});
}

} // namespace kovan
