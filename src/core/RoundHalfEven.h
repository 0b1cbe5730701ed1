#pragma once

namespace kovan {

// The one rounding rule of everything the client lays out in pixels: the nearest integer, ties
// to even. Values beyond ±2^30 (and NaN) are clamped so that pixel arithmetic never overflows.
int roundHalfEven(double v);

} // namespace kovan
