#pragma once

#include <QtGlobal>

#include <optional>

namespace kovan {

// The video window's position bar as numbers: how wide its downloaded and played parts are,
// and where a click seeks. All exact integer arithmetic, halves to even.
class PositionBar {
public:
    // Width of the part `part` of `whole` on a bar `width` pixels wide; 0 when either figure
    // is not positive. Never wider than the bar.
    static int partWidth(qint64 part, qint64 whole, int width);

    // A click `x` pixels from the bar's left end: the position in microseconds to seek to,
    // when the click lies inside the downloaded part (downloaded / size > x / width);
    // nothing otherwise, nor when the size or the duration is unknown.
    static std::optional<qint64> seekTarget(int x, int width, qint64 downloaded, qint64 size,
                                            qint64 duration);
};

} // namespace kovan
