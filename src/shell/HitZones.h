#pragma once

#include <Qt>

#include <optional>

namespace kovan {

// The resize zones along the borderless window's edges: 3 px deep (0 to 2 from an edge, 0 to 3
// from the top at the top-left corner). There is no top-right corner zone: that corner answers
// the right edge. Coordinates are relative to the window's top-left corner. Pure function, any
// thread.
class HitZones {
public:
    enum class Zone { None, BottomRight, TopLeft, BottomLeft, Right, Bottom, Left, Top };

    // The first matching line of the zone table decides.
    static Zone at(int x, int y, int width, int height);

    // The edges a system resize starting in the zone moves; nullopt for Zone::None.
    static std::optional<Qt::Edges> edges(Zone zone);
    // The mouse cursor shown over the zone.
    static Qt::CursorShape cursor(Zone zone);
};

} // namespace kovan
