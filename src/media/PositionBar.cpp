#include "media/PositionBar.h"

#include "media/PlayTime.h"

#include <algorithm>

namespace kovan {

int PositionBar::partWidth(qint64 part, qint64 whole, int width) {
    if (part <= 0 || whole <= 0 || width <= 0)
        return 0;
    // part · width stays far inside 64 bits for any real file and bar.
    const qint64 w = PlayTime::divRoundHalfEven(std::min(part, whole) * width, whole);
    return int(std::min<qint64>(w, width));
}

std::optional<qint64> PositionBar::seekTarget(int x, int width, qint64 downloaded, qint64 size,
                                              qint64 duration) {
    if (x < 0 || width <= 0 || size <= 0 || downloaded <= 0 || duration <= 0)
        return std::nullopt;
    // downloaded / size > x / width, cross-multiplied.
    if (!(downloaded * qint64(width) > qint64(x) * size))
        return std::nullopt;
    return PlayTime::divRoundHalfEven(qint64(x) * duration, width);
}

} // namespace kovan
