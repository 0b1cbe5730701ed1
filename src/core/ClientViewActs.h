#pragma once

#include <QString>

namespace kovan {

// viewAct values of the notices the client raises itself (pages send "viewinfo", "openurl",
// "video", "exchat" or anything else). A page may send them too; they do nothing a page
// command could not do.

// "查看" opens a chart of the symbol whose code is the notice's viparam, in period H1, through
// the chart terms gate like any chart (a triggered price alert).
inline const QString kSymbolChartViewAct = QStringLiteral("symbolchart");

} // namespace kovan
