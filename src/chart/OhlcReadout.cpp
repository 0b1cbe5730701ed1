#include "chart/OhlcReadout.h"

#include "chart/ChartGeometry.h"

#include <QDateTime>
#include <QTimeZone>

namespace kovan {

namespace {
// Inside the frame line and clear of the first pixel column.
constexpr int kLeft = 2;
constexpr int kTop = 2;
constexpr int kPadding = 3;
} // namespace

QString ohlcReadoutText(const ChartDataListRecord& bar, int decimals) {
    const QString when = QDateTime::fromSecsSinceEpoch(bar.dl, QTimeZone::utc())
                             .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    return when + QStringLiteral("  O ") + priceLabel(bar.open, decimals) + QStringLiteral("  H ") +
           priceLabel(bar.high, decimals) + QStringLiteral("  L ") + priceLabel(bar.low, decimals) +
           QStringLiteral("  C ") + priceLabel(bar.close, decimals);
}

void paintOhlcReadout(ChartCanvas& canvas, const ChartDataListRecord& bar, int decimals,
                      quint32 boxColour, quint32 textColour) {
    const QString s = ohlcReadoutText(bar, decimals);
    // The box fits the text as drawn, so it is measured in device pixels (the font's).
    const DeviceScale& d = canvas.scale();
    const int x = d.px(kLeft), y = d.px(kTop), padding = d.px(kPadding);
    const int w = canvas.font.width(s) + 2 * padding;
    const int h = canvas.font.height() + d.px(2);
    canvas.fillDevice(x, y, x + w, y + h, boxColour);
    canvas.textDevice(x + padding, y + d.px(1), s, textColour);
}

} // namespace kovan
