#pragma once

#include "chart/ChartAlertLine.h"
#include "chart/ChartCanvas.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartView.h"

#include <QImage>

#include <memory>
#include <optional>
#include <vector>

namespace kovan {

// The frame the alert lines go over: the view's size (logical pixels), the price scale of the
// chart's last full frame, the instrument's decimals and the scale of the chart's bitmaps.
struct AlertLinesFrame {
    int width = 0;
    int height = 0;
    PriceScale scale;
    int decimals = 0;
    DeviceScale device; // the chart's bitmaps: the layer is drawn at the same scale
};

// Draws the price alerts of a chart over its frames: for each, a dashed horizontal line across
// the price area at its price, the price in a box on the price axis and a bell mark at the
// line's left end, in amber, in a layer of its own on top of the chart view. Without lines the
// layer is not on the view at all, so a chart without alerts shows exactly the layers and
// pixels it shows without this class. Lines whose price lies outside the frame's price area
// are not drawn.
//
// GUI thread only, like the chart it draws over. The view's layers may be cleared under it (a
// resize): the next paint puts its layer back.
class AlertLinesOverlay {
public:
    static constexpr quint32 kColour = 0xFFFFB000; // amber, on dark and light styles alike
    static constexpr int kHitTolerance = 4;        // pixels above or below a line

    explicit AlertLinesOverlay(ChartView* view) : m_view(view) {}

    // Paints `lines` over `frame` and publishes; `moving`, when given, is drawn at its own
    // price instead of the line with its id (a drag in progress). No line to draw takes the
    // layer off the view.
    void paint(const std::vector<ChartAlertLine>& lines, const AlertLinesFrame& frame,
               const std::optional<ChartAlertLine>& moving = std::nullopt);
    // Takes the layer off the view (and publishes, when it was on).
    void clear();

    // The line drawn within kHitTolerance rows of `y` by the last paint, the nearest one.
    std::optional<qint64> lineNear(int y) const;
    // The row the last paint drew line `id` in; -1 when it drew none.
    int rowOf(qint64 id) const;
    // Whether the layer is on the view.
    bool shown() const;
    // The row of each line the last paint drew, in the order of the lines.
    struct DrawnLine {
        qint64 id = 0;
        int y = 0;
    };
    const std::vector<DrawnLine>& drawn() const { return m_drawn; }

private:
    void paintLine(ChartCanvas& canvas, const AlertLinesFrame& frame, double price, int y);
    void ensureLayer(const QSize& size, const QSize& bitmapSize);

    ChartView* m_view;
    std::shared_ptr<BitmapLayer> m_layer; // on the view or not: see shown()
    QSize m_layerBitmap;                  // its bitmap's size in device pixels
    QImage m_image;
    ChartFont m_font{QStringLiteral("Verdana"), 8};
    std::vector<DrawnLine> m_drawn;
};

} // namespace kovan
