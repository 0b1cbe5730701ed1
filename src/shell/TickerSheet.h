#pragma once

#include "core/DeviceScale.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace kovan {

class NameValueList;

// The rates ticker's off-screen sheet: every quoted symbol in a cell of 140 × 25 pixels, rows
// of (sheet width div 140) cells, and the first row repeated below the last so that scrolling
// past the end shows the start again. Geometry is pure; build() paints with QPainter and may
// run on any thread (it touches only the sheet it is given).
class TickerSheet {
public:
    static constexpr int kCellWidth = 140;
    static constexpr int kCellHeight = 25;
    static constexpr quint32 kBackground = 0xFF025EA5; // opaque #025EA5
    // Pixels of the up arrow with this exact value are left out when it is stamped.
    static constexpr quint32 kArrowSkip = 0x00FFFFFF;

    // One symbol as the ticker shows it, copied out of the sync tables under their lock.
    struct Entry {
        QString showName;
        QString bid;
        bool down = false; // "_CG" is exactly "-1"
        bool operator==(const Entry&) const = default;
    };
    // Reads code + "_showname", "_BID" and "_CG" for each code; missing values read as empty.
    static QList<Entry> entries(const QStringList& codes, const NameValueList& quotes);

    static int perRow(int sheetWidth) { return sheetWidth < 0 ? 0 : sheetWidth / kCellWidth; }
    static int rows(int count, int perRow);
    // All rows plus the repeated first row.
    static int height(int rows) { return kCellHeight * rows + kCellHeight; }

    // One cell to draw: which symbol, at which column and row.
    struct Cell {
        int symbol;
        int column;
        int row;
        bool operator==(const Cell&) const = default;
    };
    // The cells of a sheet for `count` symbols, row by row, then the repeated first row.
    static QList<Cell> cells(int count, int perRow);

    static QPoint cellOrigin(int column, int row) {
        return {kCellWidth * column, kCellHeight * row};
    }
    static QPoint arrowPos(int column, int row) { return cellOrigin(column, row) + QPoint(3, 8); }
    static QPoint textPos(int column, int row) { return cellOrigin(column, row) + QPoint(15, 5); }
    static QString cellText(const Entry& e) {
        return QStringLiteral("  ") + e.showName + u':' + e.bid;
    }

    // "Verdana" 9 pt, the sheet's font.
    static QFont font();

    // Rebuilds `sheet` as `sheetWidth` × height(rows) from the entries. Returns the number of
    // rows (0 when nothing fits or nothing is quoted; the sheet is then left as it was).
    //
    // At a scale other than 1 the sheet is drawn in device pixels (the logical geometry above
    // scaled, the font at its scaled pixel size) and carries the ratio; arrows whose own ratio
    // differs are scaled to their logical size at the sheet's scale, smoothly.
    static int build(QImage& sheet, int sheetWidth, const QList<Entry>& entries,
                     const QImage& upArrow, const QImage& downArrow,
                     const DeviceScale& scale = DeviceScale());
};

} // namespace kovan
