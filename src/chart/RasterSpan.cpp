#include "chart/RasterSpan.h"

#include <algorithm>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KOVAN_SPAN_X86 1
#include <immintrin.h>
#endif

namespace kovan::raster {

namespace {

#ifdef KOVAN_SPAN_X86

// Vector fills of count ≥ 16 pixels. The first and last vector may overlap the ones in between,
// which store the same value: every pixel of the run is written, none outside it. The stores in
// between start at a vector boundary when the row lies a whole number of pixels from one (an
// image on a foreign buffer may not).

void fillSse2(quint32* dst, qsizetype count, quint32 value) {
    const __m128i v = _mm_set1_epi32(int(value));
    quint32* const end = dst + count;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
    quint32* p = dst + 4;
    if ((reinterpret_cast<uintptr_t>(dst) & 3) == 0)
        p = reinterpret_cast<quint32*>((reinterpret_cast<uintptr_t>(dst) + 16) & ~uintptr_t(15));
    for (; end - p >= 16; p += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 4), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 8), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 12), v);
    }
    for (; end - p >= 4; p += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), v);
}

__attribute__((target("avx2"))) void fillAvx2(quint32* dst, qsizetype count, quint32 value) {
    const __m256i v = _mm256_set1_epi32(int(value));
    quint32* const end = dst + count;
    if (count < 32) { // two to four overlapping stores
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), v);
        if (count > 16)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 8), v);
        if (count > 24)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 16), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), v);
        return;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), v);
    quint32* p = dst + 8;
    if ((reinterpret_cast<uintptr_t>(dst) & 3) == 0)
        p = reinterpret_cast<quint32*>((reinterpret_cast<uintptr_t>(dst) + 32) & ~uintptr_t(31));
    for (; end - p >= 32; p += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 8), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 16), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 24), v);
    }
    for (; end - p >= 8; p += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), v);
}

using FillFn = void (*)(quint32*, qsizetype, quint32);

FillFn chooseFill() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? fillAvx2 : fillSse2;
}

void fillLong(quint32* dst, qsizetype count, quint32 value) {
    static const FillFn best = chooseFill(); // also right for fills during static start-up
    best(dst, count, value);
}

#else

void fillLong(quint32* dst, qsizetype count, quint32 value) {
    std::fill(dst, dst + count, value);
}

#endif

} // namespace

void fillSpanLong(quint32* dst, qsizetype count, quint32 value) {
    if (count < 16) {
        for (qsizetype i = 0; i < count; ++i)
            dst[i] = value;
        return;
    }
    fillLong(dst, count, value);
}

} // namespace kovan::raster
