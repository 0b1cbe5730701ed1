#pragma once

#include <QByteArray>
#include <QImage>

// The client's mark: a rising bar chart with a gold trend line on a rounded blue square,
// drawn on a 64-unit grid. The window icon (APPICON), the desktop icons and the status band's
// small mark all come from here.

// The mark as a size × size picture.
QImage appIcon(int size);

// The same mark as an SVG document (the hicolor "scalable" icon).
QByteArray appIconSvg();
