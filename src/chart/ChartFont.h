#pragma once

#include "core/DeviceScale.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace kovan {

// A text drawn into a chart bitmap and the box it covers (tests read the labels; golden-image
// tests mask text pixels, whose rasterisation differs between machines).
struct ChartTextBox {
    QRect box;
    QString text;
};

// A bitmap's current font: a family and a size in points, laid out for the 96-dpi screens the
// chart was designed on (8 pt → 11 px, 16 pt → 21 px). The QFont and its metrics are built
// again only when the font changes, since every text of a frame measures and draws in it.
//
// A chart draws the same few texts frame after frame (hours, prices, level names), so each
// text is measured and shaped once per font: its advance and its glyph runs are kept until the
// font changes (or the store grows past a bound), and drawing places the stored glyphs. The
// pixels are those QPainter::drawText gives for the text at that point.
class ChartFont {
public:
    ChartFont() = default;
    ChartFont(const QString& family, int pointSize);

    const QString& family() const { return m_family; }
    int pointSize() const { return m_pointSize; }
    void set(const QString& family, int pointSize);
    void setPointSize(int pointSize) { set(m_family, pointSize); }
    // Device pixels per logical pixel of the bitmap drawn into: the font is laid out at
    // round(pixel size × ratio) and measures in device pixels. 1 by default.
    void setScale(const DeviceScale& scale);
    const DeviceScale& scale() const { return m_scale; }

    int width(const QString& s) const; // advance of s, in (device) pixels
    int height() const;                // line height, the same for every text

    // s with its top-left corner at (x, y) in `colour` (0xAARRGGBB, drawn opaque), through a
    // painter already open on the image (it takes the pen); the box is appended to `boxes` when
    // given. Nothing for an empty text.
    void draw(QPainter& painter, int x, int y, const QString& s, quint32 colour,
              std::vector<ChartTextBox>* boxes);

private:
    // A text's glyph runs with their positions relative to its baseline origin.
    using Runs = QList<QGlyphRun>;

    const QFontMetrics& metrics() const;
    const Runs& runsOf(const QString& s) const;

    QString m_family;
    int m_pointSize = 8;
    DeviceScale m_scale;
    mutable QFont m_qfont;
    mutable std::optional<QFontMetrics> m_metrics; // reset when the font changes
    // Per text, in the current font; emptied with the metrics.
    mutable QHash<QString, int> m_widths;
    mutable QHash<QString, Runs> m_runs;
};

} // namespace kovan
