#include "chart/OhlcReadout.h"

#include "chart/ChartGeometry.h"
#include "chart/Raster.h"

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
    const int w = canvas.font.width(s) + 2 * kPadding;
    const int h = canvas.font.height() + 2;
    raster::fill(canvas.image, kLeft, kTop, kLeft + w, kTop + h, boxColour);
    canvas.text(kLeft + kPadding, kTop + 1, s, textColour);
}

} // namespace kovan
