#pragma once

#include <QColor>

// The skin's palette, shared by every picture skin-gen paints.
namespace skingen {

inline const QColor kBlue(0x30, 0x9D, 0xE9);       // window colour
inline const QColor kNavy(0x01, 0x3E, 0x7F);       // dark frame line
inline const QColor kLight(0x3F, 0xA2, 0xE7);      // light frame line
inline const QColor kTickerBlue(0x02, 0x5E, 0xA5); // ticker band
inline const QColor kDeep(0x01, 0x4C, 0x93);       // between navy and ticker blue
inline const QColor kSilver(0xC0, 0xC0, 0xC0);     // the window's colour key
inline const QColor kUpRed(0xF2, 0x4B, 0x3D);
inline const QColor kDownGreen(0x37, 0xD0, 0x6A);
inline const QColor kGold(0xF7, 0xC3, 0x3B);

} // namespace skingen
