#include "chart/ChartFont.h"

#include <QPainter>
#include <QTextLayout>

namespace kovan {

namespace {

int pixelSize(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}

// Texts kept per font before the store starts afresh: a chart's axes show a few dozen, but the
// price labels change with every new scale.
constexpr qsizetype maxStoredTexts = 2048;

template <typename Map> void makeRoom(Map& m) {
    if (m.size() >= maxStoredTexts)
        m.clear();
}

} // namespace

ChartFont::ChartFont(const QString& family, int pointSize)
    : m_family(family), m_pointSize(pointSize) {}

void ChartFont::setScale(const DeviceScale& scale) {
    if (scale == m_scale)
        return;
    m_scale = scale;
    m_metrics.reset();
    m_widths.clear();
    m_runs.clear();
}

void ChartFont::set(const QString& family, int pointSize) {
    if (family == m_family && pointSize == m_pointSize)
        return;
    m_family = family;
    m_pointSize = pointSize;
    m_metrics.reset();
    m_widths.clear();
    m_runs.clear();
}

const QFontMetrics& ChartFont::metrics() const {
    if (!m_metrics) {
        m_qfont = QFont(m_family);
        m_qfont.setPixelSize(m_scale.fontPixels(pixelSize(m_pointSize)));
        m_metrics.emplace(m_qfont);
    }
    return *m_metrics;
}

int ChartFont::width(const QString& s) const {
    const auto it = m_widths.constFind(s);
    if (it != m_widths.constEnd())
        return *it;
    const int w = metrics().horizontalAdvance(s);
    makeRoom(m_widths);
    m_widths.insert(s, w);
    return w;
}

const ChartFont::Runs& ChartFont::runsOf(const QString& s) const {
    const auto it = m_runs.constFind(s);
    if (it != m_runs.constEnd())
        return *it;
    metrics(); // builds m_qfont
    // One unbounded left-to-right line, as QPainter::drawText lays out a text at a point.
    QTextLayout layout(s, m_qfont);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Runs runs = layout.glyphRuns();
    // Positions relative to the baseline: the line's own ascent (that of its tallest font,
    // fallbacks included) is taken out, as drawText puts every glyph on the given baseline.
    const qreal ascent = line.ascent();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions)
            p.ry() -= ascent;
        run.setPositions(positions);
    }
    makeRoom(m_runs);
    return *m_runs.insert(s, std::move(runs));
}

int ChartFont::height() const {
    return metrics().height();
}

void ChartFont::draw(QPainter& p, int x, int y, const QString& s, quint32 colour,
                     std::vector<ChartTextBox>* boxes) {
    if (s.isEmpty())
        return;
    const QFontMetrics& fm = metrics();
    const QPointF origin(x, y + fm.ascent());
    p.setPen(QColor::fromRgba(colour | 0xFF000000u));
    for (const QGlyphRun& run : runsOf(s))
        p.drawGlyphRun(origin, run);
    if (boxes)
        boxes->push_back({QRect(x, y, width(s), fm.height()), s});
}

} // namespace kovan
