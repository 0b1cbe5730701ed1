#pragma once

#include <QtGlobal>

namespace kovan::raster {

// Stores `value` into the `count` 32-bit pixels from `dst` on (nothing for count ≤ 0). The one
// loop every fill of the chart ends in: the background of a whole frame, candle bodies,
// horizontal lines and polygon rows. Short runs (most bodies and polygon rows) are stored here;
// longer ones go to wide vector stores chosen for the processor at start-up.
void fillSpanLong(quint32* dst, qsizetype count, quint32 value);

inline void fillSpan(quint32* dst, qsizetype count, quint32 value) {
    if (count >= 16) {
        fillSpanLong(dst, count, value);
        return;
    }
    for (qsizetype i = 0; i < count; ++i)
        dst[i] = value;
}

} // namespace kovan::raster
