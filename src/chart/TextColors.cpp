#include "chart/TextColors.h"

#include <cmath>

namespace kovan {

namespace {

double luminance(quint32 c) {
    const double r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return (0.299 * r + 0.587 * g + 0.114 * b) / 255.0;
}

constexpr quint32 lightGrey = 0xFFC8C8C8;
constexpr quint32 black = 0xFF000000;

} // namespace

quint32 systemColour(int index) {
    static constexpr quint32 table[] = {
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
    };
    if (index < 0 || index >= int(sizeof table / sizeof table[0]))
        return black;
    return 0xFF000000u | table[index];
}

quint32 fontColour(quint32 styleColour, quint32 under) {
    // The top bit set means "system colour"; every opaque style colour has it.
    const quint32 c = (styleColour & 0x80000000u) ? systemColour(int(styleColour & 0xFF))
                                                  : (0xFF000000u | styleColour);
    const quint32 u = (under & 0xFF000000u) ? under : black;
    if (std::fabs(luminance(c) - luminance(u)) >= 0.3)
        return c;
    return luminance(u) < 0.5 ? lightGrey : black;
}

} // namespace kovan
