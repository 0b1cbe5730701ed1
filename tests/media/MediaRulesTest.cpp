// The video window's rules as numbers and texts: play times, the position bar, seeking, the
// cache file name.
#include "media/PlayTime.h"
#include "media/PositionBar.h"
#include "media/VideoCache.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using namespace kovan;

namespace {

struct TimeCase {
    qint64 us;
    const char* text;
};

class FormatPlayTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FormatPlayTimeTest, Formats) {
    EXPECT_EQ(formatPlayTime(GetParam().us), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatPlayTimeTest,
    ::testing::Values(TimeCase{3725LL * 1000000, "01:02:05"}, TimeCase{4999, "00:00:00"},
                      TimeCase{995000, "00:00:01"}, TimeCase{994999, "00:00:00"},
                      TimeCase{0, "00:00:00"}, TimeCase{59 * 1000000 + 994999, "00:00:59"},
                      TimeCase{36LL * 60 * 1000000, "00:36:00"},
                      TimeCase{100LL * 3600 * 1000000, "100:00:00"},
                      TimeCase{PlayTime::kNoTime, "N/A"},
                      // The top of the range must not overflow on the way.
                      TimeCase{std::numeric_limits<qint64>::max(), "596523:14:07"}));

struct DivCase {
    qint64 n, d, q;
};

class HalfEvenTest : public ::testing::TestWithParam<DivCase> {};

TEST_P(HalfEvenTest, RoundsHalvesToEven) {
    EXPECT_EQ(PlayTime::divRoundHalfEven(GetParam().n, GetParam().d), GetParam().q);
}

INSTANTIATE_TEST_SUITE_P(Table, HalfEvenTest,
                         ::testing::Values(DivCase{5, 2, 2}, DivCase{7, 2, 4}, DivCase{1, 2, 0},
                                           DivCase{3, 2, 2}, DivCase{4, 3, 1}, DivCase{5, 3, 2},
                                           DivCase{0, 7, 0}, DivCase{10, 0, 0},
                                           DivCase{std::numeric_limits<qint64>::max(), 1,
                                                   std::numeric_limits<qint64>::max()}));

struct WidthCase {
    qint64 part, whole;
    int width, expected;
};

class PartWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(PartWidthTest, NearestPixelWithHalvesToEven) {
    const WidthCase c = GetParam();
    EXPECT_EQ(PositionBar::partWidth(c.part, c.whole, c.width), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PartWidthTest,
                         ::testing::Values(WidthCase{1, 4, 10, 2},  // 2.5 → 2
                                           WidthCase{3, 4, 10, 8},  // 7.5 → 8
                                           WidthCase{1, 8, 20, 2},  // 2.5 → 2
                                           WidthCase{3, 8, 20, 8},  // 7.5 → 8
                                           WidthCase{5, 8, 20, 12}, // 12.5 → 12
                                           WidthCase{1, 3, 10, 3},  // 3.33 → 3
                                           WidthCase{2, 3, 10, 7},  // 6.67 → 7
                                           WidthCase{0, 100, 576, 0}, WidthCase{50, 0, 576, 0},
                                           WidthCase{50, -1, 576, 0}, // no size announced
                                           WidthCase{150, 100, 576, 576},
                                           // A 40-minute video: microseconds far past 32 bits.
                                           WidthCase{2160000000LL, 2400000000LL, 576, 518}));

struct SeekCase {
    const char* name;
    int x, width;
    qint64 down, size, duration;
    std::optional<qint64> target;
};

class SeekRuleTest : public ::testing::TestWithParam<SeekCase> {};

TEST_P(SeekRuleTest, SeeksOnlyInsideTheDownloadedPart) {
    const SeekCase c = GetParam();
    EXPECT_EQ(PositionBar::seekTarget(c.x, c.width, c.down, c.size, c.duration), c.target)
        << c.name;
}

constexpr qint64 kFortyMinutes = 40LL * 60 * 1000000;

INSTANTIATE_TEST_SUITE_P(
    Table, SeekRuleTest,
    ::testing::Values(
        SeekCase{"30% of the bar, half downloaded", 30, 100, 500, 1000, 200000000, 60000000},
        SeekCase{"70% of the bar, half downloaded", 70, 100, 500, 1000, 200000000, std::nullopt},
        SeekCase{"exactly at the downloaded edge", 50, 100, 500, 1000, 200000000, std::nullopt},
        SeekCase{"90% of 40 minutes, all there", 90, 100, 1000, 1000, kFortyMinutes,
                 36LL * 60 * 1000000},
        SeekCase{"a half microsecond goes to even", 1, 4, 10, 10, 2, 0},
        SeekCase{"three halves go to two", 3, 4, 10, 10, 2, 2},
        SeekCase{"no size announced", 10, 100, 500, -1, 200000000, std::nullopt},
        SeekCase{"no duration yet", 10, 100, 500, 1000, 0, std::nullopt},
        SeekCase{"left of the bar", -1, 100, 500, 1000, 200000000, std::nullopt}));

TEST(SeekRuleTest, NinetyPercentOfFortyMinutesIsBeyondThirtyTwoBits) {
    const auto target = PositionBar::seekTarget(518, 576, 1000, 1000, kFortyMinutes);
    ASSERT_TRUE(target.has_value());
    EXPECT_GT(*target, qint64(std::numeric_limits<qint32>::max()));
    EXPECT_EQ(*target, PlayTime::divRoundHalfEven(518 * kFortyMinutes, 576));
}

struct CacheCase {
    const char* url;
    const char* name;
};

class VideoCacheTest : public ::testing::TestWithParam<CacheCase> {};

TEST_P(VideoCacheTest, NamesTheFileByTheUpperCaseMd5OfTheAddress) {
    EXPECT_EQ(VideoCache::fileName(QString::fromUtf8(GetParam().url)),
              QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Table, VideoCacheTest,
    ::testing::Values(CacheCase{"", "D41D8CD98F00B204E9800998ECF8427E"},
                      CacheCase{"http://127.0.0.1:8802/filelist/video/gold-weekly.mp4",
                                "E9048683BDA9095A885339477AEB33F2"},
                      // Characters outside ASCII count as question marks.
                      CacheCase{"http://h/视频.mp4", "1836144D1944A7C7E9708F3EFDD78D03"},
                      CacheCase{"http://h/??.mp4", "1836144D1944A7C7E9708F3EFDD78D03"}));

TEST(VideoCacheTest, PathIsInTheCacheFolder) {
    EXPECT_EQ(VideoCache::filePath(QStringLiteral("/p/cache"), QString()),
              QStringLiteral("/p/cache/D41D8CD98F00B204E9800998ECF8427E"));
}

} // namespace
