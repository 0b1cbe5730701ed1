#include "shell/TickerSheet.h"

#include "core/NameIndex.h"
#include "core/NameValueList.h"

#include <QFontInfo>
#include <QPainter>

namespace kovan {

QList<TickerSheet::Entry> TickerSheet::entries(const QStringList& codes,
                                               const NameValueList& quotes) {
    // This runs under the sync tables' lock: one index over the quote lines keeps thousands of
    // symbols to one pass instead of a scan of the table per value.
    const QStringList& lines = quotes.lines();
    const NameIndex index(lines);
    const auto value = [&](const QString& key) {
        const qsizetype at = index.find(key);
        return at < 0 ? QStringView() : NameIndex::valueOf(lines[at]);
    };
    QList<Entry> out;
    out.reserve(codes.size());
    QString key;
    for (const QString& code : codes) {
        Entry e;
        key.resize(0);
        e.showName = value(key.append(code).append(u"_showname")).toString();
        key.resize(0);
        e.bid = value(key.append(code).append(u"_BID")).toString();
        key.resize(0);
        e.down = value(key.append(code).append(u"_CG")) == u"-1";
        out.append(std::move(e));
    }
    return out;
}

int TickerSheet::rows(int count, int perRow) {
    if (perRow <= 0 || count <= 0)
        return 0;
    return (count + perRow - 1) / perRow;
}

QList<TickerSheet::Cell> TickerSheet::cells(int count, int perRow) {
    QList<Cell> out;
    const int r = rows(count, perRow);
    for (int row = 0; row < r; ++row) {
        for (int c = 0; c < perRow; ++c) {
            const int i = row * perRow + c;
            if (i >= count)
                break;
            out.append({i, c, row});
        }
    }
    for (int c = 0; c < perRow && c < count; ++c)
        out.append({c, c, r});
    return out;
}

QFont TickerSheet::font() {
    QFont f(QStringLiteral("Verdana"));
    f.setPointSize(9);
    return f;
}

namespace {

// Stamps an arrow into the sheet. The up arrow leaves out its background value; the down arrow
// is copied as it is.
void stamp(QImage& sheet, const QImage& arrow, QPoint at, bool skipBackground) {
    const QImage a = arrow.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        const int sy = at.y() + y;
        if (sy < 0 || sy >= sheet.height())
            continue;
        const auto* src = reinterpret_cast<const quint32*>(a.constScanLine(y));
        auto* dst = reinterpret_cast<quint32*>(sheet.scanLine(sy));
        for (int x = 0; x < a.width(); ++x) {
            const int sx = at.x() + x;
            if (sx < 0 || sx >= sheet.width())
                continue;
            if (skipBackground && src[x] == TickerSheet::kArrowSkip)
                continue;
            dst[sx] = src[x] | 0xFF000000u;
        }
    }
}

// The sheet at a scale other than 1: every position scaled, the arrows drawn over the band
// colour (their keyed background is transparent), the text in the scaled font.
void buildScaled(QImage& fresh, const QList<TickerSheet::Cell>& all,
                 const QList<TickerSheet::Entry>& list, const QImage& upArrow,
                 const QImage& downArrow, const DeviceScale& s) {
    QPainter p(&fresh);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const TickerSheet::Cell& cell : all) {
        const QImage& arrow = list.at(cell.symbol).down ? downArrow : upArrow;
        if (arrow.isNull())
            continue;
        const QPoint at = TickerSheet::arrowPos(cell.column, cell.row);
        const double ratio = arrow.devicePixelRatio();
        const QSize logical(roundHalfEven(arrow.width() / ratio),
                            roundHalfEven(arrow.height() / ratio));
        QImage plain = arrow;
        plain.setDevicePixelRatio(1);
        p.drawImage(QRect(QPoint(s.px(at.x()), s.px(at.y())), s.size(logical)), plain);
    }
    QFont f = TickerSheet::font();
    f.setPixelSize(s.fontPixels(QFontInfo(QFont(f, &fresh)).pixelSize()));
    p.setFont(f);
    p.setPen(Qt::white);
    const int ascent = QFontMetrics(f).ascent();
    for (const TickerSheet::Cell& cell : all) {
        const QPoint t = TickerSheet::textPos(cell.column, cell.row);
        p.drawText(s.px(t.x()), s.px(t.y()) + ascent, TickerSheet::cellText(list.at(cell.symbol)));
    }
}

} // namespace

int TickerSheet::build(QImage& sheet, int sheetWidth, const QList<Entry>& list,
                       const QImage& upArrow, const QImage& downArrow, const DeviceScale& scale) {
    const int per = perRow(sheetWidth);
    const int r = rows(int(list.size()), per);
    if (r == 0)
        return 0;
    const QList<Cell> all = cells(int(list.size()), per);
    // Pictures of another set than the sheet's (2× arrows on a 1× screen) go the scaled way too.
    if (!scale.identity() || upArrow.devicePixelRatio() != 1 || downArrow.devicePixelRatio() != 1) {
        QImage fresh(scale.px(sheetWidth), scale.px(height(r)), QImage::Format_RGB32);
        fresh.fill(kBackground);
        buildScaled(fresh, all, list, upArrow, downArrow, scale);
        if (!scale.identity())
            fresh.setDevicePixelRatio(scale.ratio()); // drawn in device pixels, shown at it
        sheet = fresh;
        return r;
    }
    QImage fresh(sheetWidth, height(r), QImage::Format_RGB32);
    fresh.fill(kBackground);
    for (const Cell& cell : all) {
        const bool down = list.at(cell.symbol).down;
        stamp(fresh, down ? downArrow : upArrow, arrowPos(cell.column, cell.row), !down);
    }
    QPainter p(&fresh);
    p.setFont(font());
    p.setPen(Qt::white);
    const int ascent = QFontMetrics(p.font()).ascent();
    for (const Cell& cell : all) {
        const QPoint t = textPos(cell.column, cell.row);
        p.drawText(t.x(), t.y() + ascent, cellText(list.at(cell.symbol)));
    }
    p.end();
    sheet = fresh;
    return r;
}

} // namespace kovan
