#include "media/PlayTime.h"

namespace kovan {

QString PlayTime::format(qint64 t) {
    if (t == kNoTime)
        return QStringLiteral("N/A");
    // t + 5000 must not overflow for times near the top of the range.
    const qint64 shifted = t > std::numeric_limits<qint64>::max() - 5000
                               ? std::numeric_limits<qint64>::max()
                               : t + 5000;
    const qint64 secs64 = shifted / 1000000;
    const qint32 s =
        secs64 > std::numeric_limits<qint32>::max()   ? std::numeric_limits<qint32>::max()
        : secs64 < std::numeric_limits<qint32>::min() ? std::numeric_limits<qint32>::min()
                                                      : qint32(secs64);
    return QString::asprintf("%.2d:%.2d:%.2d", (s / 60) / 60, (s / 60) % 60, s % 60);
}

qint64 PlayTime::divRoundHalfEven(qint64 n, qint64 d) {
    if (d <= 0 || n <= 0)
        return 0;
    const qint64 q = n / d;
    const qint64 r = n % d;
    // Compare 2r with d without overflowing: r < d, so r >= d - r says 2r >= d.
    if (r > d - r || (r == d - r && (q & 1)))
        return q + 1;
    return q;
}

} // namespace kovan
