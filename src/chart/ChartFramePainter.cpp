#include "chart/ChartFramePainter.h"

#include "chart/TextColors.h"

namespace kovan {

void paintFrame(ChartCanvas& canvas, const ChartFrameLayout& l, const ChartStyle& style) {
    const int w = l.width, h = l.height, W = l.priceWidth, H = l.priceHeight;
    const quint32 back = style.colour(ChartStyle::Back);
    canvas.fill(0, 0, w, h, back);

    const quint32 broken = style.colour(ChartStyle::Broken);
    canvas.line(0, 0, w, 0, broken);
    canvas.line(0, 0, 0, h, broken);
    canvas.line(0, h - 1, w, h - 1, broken);
    canvas.line(w - 1, 0, w - 1, h, broken);
    canvas.line(0, H, w, H, broken);
    canvas.line(W, 0, W, H, broken);

    // Axis text: Verdana 8, font colour from `back`.
    canvas.font.set(QStringLiteral("Verdana"), 8);
    const quint32 axisText = fontColour(back, back);
    for (const ChartLabel& label : l.priceLabels)
        canvas.text(label.pos.x(), label.pos.y(), label.text, axisText);

    // Bars slot by slot, each time label just before the bar of its slot.
    auto timeLabel = l.timeLabels.begin();
    const int drawn = l.drawnBars();
    for (int j = 0; j < drawn; ++j) {
        for (; timeLabel != l.timeLabels.end() && timeLabel->slot == j; ++timeLabel) {
            canvas.line(timeLabel->tickX, H, timeLabel->tickX, H + 5,
                        style.colour(ChartStyle::Front));
            canvas.text(timeLabel->label.pos.x(), timeLabel->label.pos.y(), timeLabel->label.text,
                        axisText);
        }
        if (!l.candles)
            continue;
        const ChartCandle& c = l.candleBars[size_t(j)];
        quint32 wick;
        if (c.rising) {
            canvas.fill(c.x0, c.bodyTop, c.x1, c.bodyBottom, style.colour(ChartStyle::Yangzhu));
            wick = style.colour(ChartStyle::Yangxian);
        } else {
            canvas.fill(c.x0, c.bodyTop, c.x1, c.bodyBottom, style.colour(ChartStyle::Yinzhu));
            wick = style.colour(ChartStyle::Yinxian);
        }
        canvas.line(c.wickX, c.wickTop, c.wickX, c.wickBottom, wick);
    }
    if (!l.candles)
        canvas.wideLine(l.linePoints, l.kwidth, style.colour(ChartStyle::Front));

    const ChartPriceMarker& m = l.marker;
    if (m.shown) {
        const quint32 front = style.colour(ChartStyle::Front);
        canvas.fill(m.box.x1, m.box.y1, m.box.x2, m.box.y2, front);
        canvas.font.setPointSize(8);
        canvas.text(m.label.pos.x(), m.label.pos.y(), m.label.text, back); // explicit colour
        canvas.line(0, m.y, m.lineEnd, m.y, front);
    }
}

} // namespace kovan
