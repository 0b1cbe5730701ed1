#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>

namespace kovan {

// Play times of the video window, in microseconds.
class PlayTime {
public:
    // The media libraries' "no time" value (AV_NOPTS_VALUE).
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

    // "hh:mm:ss" of `t` rounded to the nearest second from 5 ms below it (4999 µs → 00:00:00,
    // 0.995 s → 00:00:01); "N/A" for kNoTime. Hours keep counting past 99.
    static QString format(qint64 t);

    // n / d rounded to the nearest integer, a half going to the even neighbour. d > 0,
    // n >= 0; exact for the whole 64-bit range of n (no floating point).
    static qint64 divRoundHalfEven(qint64 n, qint64 d);
};

inline QString formatPlayTime(qint64 t) {
    return PlayTime::format(t);
}

} // namespace kovan
