#include "shell/HitZones.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kovan {
namespace {

using Zone = HitZones::Zone;

struct HitCase {
    int x, y;
    Zone zone;
};

void PrintTo(const HitCase& c, std::ostream* os) {
    *os << c.x << "," << c.y;
}

class HitZonesTable : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitZonesTable, FirstMatchingLineDecides) {
    const HitCase c = GetParam();
    EXPECT_EQ(HitZones::at(c.x, c.y, 920, 585), c.zone) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, HitZonesTable,
    ::testing::Values(HitCase{1, 583, Zone::BottomLeft},    // 1 from left, 1 from bottom
                      HitCase{1, 292, Zone::Left},          // left edge at mid-height
                      HitCase{918, 1, Zone::Right},         // no top-right corner zone
                      HitCase{919, 584, Zone::BottomRight}, //
                      HitCase{918, 583, Zone::BottomRight}, //
                      HitCase{0, 0, Zone::TopLeft},         //
                      HitCase{2, 3, Zone::TopLeft},         // 0..3 from the top at the corner
                      HitCase{3, 3, Zone::None},            //
                      HitCase{400, 2, Zone::Top},           //
                      HitCase{400, 3, Zone::None},          // only 0..2 elsewhere on the top
                      HitCase{400, 583, Zone::Bottom},      //
                      HitCase{400, 582, Zone::None},        //
                      HitCase{917, 300, Zone::None},        //
                      HitCase{2, 300, Zone::Left},          //
                      HitCase{3, 300, Zone::None},          //
                      HitCase{460, 292, Zone::None}));

TEST(HitZones, EdgesAndCursors) {
    EXPECT_EQ(HitZones::edges(Zone::BottomLeft), Qt::BottomEdge | Qt::LeftEdge);
    EXPECT_EQ(HitZones::edges(Zone::Right), Qt::Edges(Qt::RightEdge));
    EXPECT_EQ(HitZones::edges(Zone::TopLeft), Qt::TopEdge | Qt::LeftEdge);
    EXPECT_FALSE(HitZones::edges(Zone::None).has_value());
    EXPECT_EQ(HitZones::cursor(Zone::Left), Qt::SizeHorCursor);
    EXPECT_EQ(HitZones::cursor(Zone::None), Qt::ArrowCursor);
}

} // namespace
} // namespace kovan
