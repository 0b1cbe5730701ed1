#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace kovan {

// Fonts and colours shared by the corner pop-up and the floating bar (their labels are
// skinLabel()s).
namespace look {

// The bar's blue, RGB (39, 111, 181).
inline const QColor kBarBlue{39, 111, 181};
// Link colours of the buttons' labels.
inline const QColor kLinkBlue{0, 0, 255};
inline const QColor kLinkRed{255, 0, 0};
inline const QColor kCaptionYellow{255, 255, 0};

// 宋体 (with CJK fallbacks on systems without it) at a pixel size.
QFont song(int pixelSize, bool bold = false);
// Tahoma (DejaVu Sans where it is missing) at a pixel size.
QFont tahoma(int pixelSize, bool bold = false);

} // namespace look
} // namespace kovan
