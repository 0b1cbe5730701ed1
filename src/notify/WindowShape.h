#pragma once

#include <QRegion>

namespace kovan {

// The rounded window shape of the notice windows: the rectangle from (1, 1) to
// (width − 2, height − 2), right and bottom edges exclusive, with corner ellipses of
// `ellipseW` × `ellipseH` pixels. Window coordinates.
QRegion roundRectRegion(int width, int height, int ellipseW, int ellipseH);

} // namespace kovan
