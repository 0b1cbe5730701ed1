#pragma once

#include <QString>

namespace kovan {

class ChartLauncher;
class ChartRegistry;
class CommandRegistry;

// The page commands of the chart windows. Each takes one text and answers one text; "-1" means
// no open chart window has the given key. A parameter that is not a JSON object (where one is
// expected) or a window operation that fails raises an error to the calling page.
//
//  viewchartbysign {"SYM", "id"}            → the new chart key (deferred: may show the terms)
//  changechart {"ckey", "cf", "style"|"period"}
//      cf "chartstyle" → setChartStyle(style as text; an object gives its JSON text)
//      cf "period"     → setPeriod(period)          ("1" switched, "0" already that period)
//      cf "handstyle"  → setHandStyle(style as an integer)
//      any other cf    → "1", nothing done
//  getchartinfo <the key itself>           → {"styleinfo": …}
//  addInxLayer {"ckey", "indextype", "attrib"} → the layer key (attrib: object or its text)
//  removeindex {"ckey", "lkey"}             → "1"
//  chartshot {"ckey"}                       → the path of the saved picture
//  removeCFP <the key itself>               → "1"; the registry entry goes (the window stays)
struct ChartCommandTargets {
    ChartRegistry* registry = nullptr;
    ChartLauncher* launcher = nullptr;
};

void registerChartCommands(CommandRegistry& commands, const ChartCommandTargets& targets);

} // namespace kovan
