#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPixmap>

namespace kovan::artwork {

// Stand-ins drawn in code for the skin pictures of this part, used until the skin's own
// images are handed in. GUI thread (pixmaps).

// The 14 × 14 background tile of the section views.
QImage defaultTile();
// defaultTile() as the bytes of a PNG file.
QByteArray defaultTilePng();
// Eight frames of the content pane's loading picture (a turning ring), `size` square.
QList<QPixmap> defaultLoadingFrames(int size = 32);

} // namespace kovan::artwork
