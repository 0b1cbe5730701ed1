#include "core/RoundHalfEven.h"

#include <cstdint>

namespace kovan {

int roundHalfEven(double v) {
    constexpr double limit = 1073741824.0; // 2^30
    if (!(v > -limit))                     // also NaN
        return -int(limit);
    if (v > limit)
        return int(limit);
    // floor(v) by truncation, and v − floor(v), both exact for |v| ≤ 2^30; an odd floor is
    // what a tie rounds away from.
    int64_t f = int64_t(v);
    if (double(f) > v)
        --f;
    const double d = v - double(f);
    if (d > 0.5 || (d == 0.5 && (f & 1) != 0))
        ++f;
    return int(f);
}

} // namespace kovan
