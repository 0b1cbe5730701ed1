#include "shell/HitZones.h"

namespace kovan {

HitZones::Zone HitZones::at(int x, int y, int w, int h) {
    if (x >= w - 2 && y >= h - 2)
        return Zone::BottomRight;
    if (x <= 2 && y <= 3)
        return Zone::TopLeft;
    if (x <= 2 && y >= h - 2)
        return Zone::BottomLeft;
    if (x >= w - 2)
        return Zone::Right;
    if (y >= h - 2)
        return Zone::Bottom;
    if (x <= 2)
        return Zone::Left;
    if (y <= 2)
        return Zone::Top;
    return Zone::None;
}

std::optional<Qt::Edges> HitZones::edges(Zone zone) {
    switch (zone) {
    case Zone::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case Zone::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case Zone::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case Zone::Right:
        return Qt::Edges(Qt::RightEdge);
    case Zone::Bottom:
        return Qt::Edges(Qt::BottomEdge);
    case Zone::Left:
        return Qt::Edges(Qt::LeftEdge);
    case Zone::Top:
        return Qt::Edges(Qt::TopEdge);
    case Zone::None:
        break;
    }
    return std::nullopt;
}

Qt::CursorShape HitZones::cursor(Zone zone) {
    switch (zone) {
    case Zone::BottomRight:
    case Zone::TopLeft:
        return Qt::SizeFDiagCursor;
    case Zone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case Zone::Right:
    case Zone::Left:
        return Qt::SizeHorCursor;
    case Zone::Bottom:
    case Zone::Top:
        return Qt::SizeVerCursor;
    case Zone::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace kovan
