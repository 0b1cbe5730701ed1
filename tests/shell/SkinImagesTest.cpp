#include "shell/SkinImages.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

#include <gtest/gtest.h>

#include <ostream>

namespace kovan {
namespace {

struct Size {
    const char* name;
    int w, h;
};

void PrintTo(const Size& s, std::ostream* os) {
    *os << s.name;
}

class SkinSizes : public ::testing::TestWithParam<Size> {};

TEST_P(SkinSizes, ResourceHasItsSize) {
    const Size s = GetParam();
    const QImage img = SkinImages::load(QString::fromLatin1(s.name));
    ASSERT_FALSE(img.isNull()) << s.name;
    EXPECT_EQ(img.size(), QSize(s.w, s.h)) << s.name;
}

// Both sets: at ratio 2 the twin with twice the pixels and its ratio, at fractional ratios the
// twin brought down to the scaled size, above 2 the twin; each at the same logical size.
TEST_P(SkinSizes, BothSetsLoadAtTheirRatio) {
    const Size s = GetParam();
    const QString name = QString::fromLatin1(s.name);
    struct Case {
        double ratio;
        QSize pixels;
        double pictureRatio;
    } const cases[] = {
        {1.0, QSize(s.w, s.h), 1.0},
        {2.0, QSize(2 * s.w, 2 * s.h), 2.0},
        {3.0, QSize(2 * s.w, 2 * s.h), 2.0},
        {1.5, QSize(), 1.5},
    };
    for (const Case& c : cases) {
        const QImage img = SkinImages::load(name, c.ratio);
        ASSERT_FALSE(img.isNull()) << c.ratio;
        EXPECT_EQ(img.devicePixelRatio(), c.pictureRatio) << c.ratio;
        if (c.ratio != 1.5) {
            EXPECT_EQ(img.size(), c.pixels) << c.ratio;
            continue;
        }
        // round(w × 1.5) half to even, within half a pixel of the logical size at 1.5.
        EXPECT_LE(std::abs(img.width() - s.w * 1.5), 0.5);
        EXPECT_LE(std::abs(img.height() - s.h * 1.5), 0.5);
        EXPECT_NEAR(img.deviceIndependentSize().width(), s.w, 0.34);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Named, SkinSizes,
    ::testing::Values(Size{"TOPIMG0", 30, 19}, Size{"TOPIMG1", 32, 19}, Size{"TOPIMG2", 31, 19},
                      Size{"TOPIMG3", 32, 19}, Size{"TOPIMG4", 31, 19}, Size{"TOPIMG5", 32, 19},
                      Size{"TOPIMG6", 31, 19}, Size{"TOPIMG7", 161, 85}, Size{"TOPIMG8", 5, 31},
                      Size{"TOPIMG9", 11, 54}, Size{"TOPIMG11", 7, 45}, Size{"TOPIMG12", 7, 8},
                      Size{"TOPIMG13", 14, 14}, Size{"TOPIMG14", 8, 39}, Size{"TOPIMG16", 5, 27},
                      Size{"TOPIMG18", 7, 45}, Size{"TOPIMG19", 82, 37}, Size{"TOPIMG20", 82, 37},
                      Size{"TOPIMG21", 82, 37}, Size{"TOPIMG22", 12, 10}, Size{"TOPIMG23", 12, 10},
                      Size{"NAVBTBG1", 100, 35}, Size{"NAVBTBG2", 100, 35}, Size{"SORTBTN", 9, 5},
                      Size{"IBTN14", 1, 25}, Size{"IBTN10", 4, 25}, Size{"STAR1", 16, 16},
                      Size{"STAR2", 32, 16}, Size{"STAR3", 48, 16}, Size{"FCLOSE", 16, 14},
                      Size{"FOPEN", 16, 14}, Size{"LOGO1", 83, 57}, Size{"LOGO2", 83, 57},
                      Size{"AUDOPEN", 25, 18}, Size{"AUDCLOSE", 25, 18}));

TEST(SkinImages, EveryNumberedPictureExists) {
    for (int i = 0; i <= 25; ++i)
        EXPECT_FALSE(SkinImages::load(QStringLiteral("TOPIMG%1").arg(i)).isNull()) << i;
    for (int i = 0; i <= 14; ++i)
        EXPECT_FALSE(SkinImages::load(QStringLiteral("IBTN%1").arg(i)).isNull()) << i;
    for (int i = 0; i <= 7; ++i)
        EXPECT_FALSE(SkinImages::load(QStringLiteral("BTLOAD%1").arg(i)).isNull()) << i;
}

TEST(SkinImages, SetsLoadAsTheWindowUsesThem) {
    SkinImages s;
    s.loadStartImages();
    s.loadSkin();
    EXPECT_EQ(s.topImages.size(), 25);
    EXPECT_EQ(s.ibtnImages.size(), 15);
    ASSERT_EQ(s.navButtonImages.size(), 3);
    EXPECT_EQ(s.navButtonImages[1], s.navButtonImages[2]);
    EXPECT_EQ(s.loadingFrames.size(), 8);
    EXPECT_EQ(s.dropArrowImage.size(), QSize(9, 5));
}

// The section views' tile goes to disk (grid.png) as the resource's own file: it must be a
// PNG of the picture the skin shows.
TEST(SkinImages, ThePageTileFileIsAPngOfTheSkinPicture) {
    const QString name = QStringLiteral("TOPIMG") + QString::number(SkinImages::kPageTile);
    const QByteArray png = SkinImages::encoded(name);
    ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage decoded = QImage::fromData(png, "PNG");
    EXPECT_EQ(decoded.size(), QSize(14, 14));
    // The file named here is the picture the skin shows as the tile.
    SkinImages skin;
    skin.loadSkin();
    EXPECT_EQ(decoded, skin.top(SkinImages::kPageTile));
}

TEST(SkinImages, UpArrowBackgroundIsTheSkipValue) {
    const QImage up = SkinImages::load("TOPIMG22").convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(up.pixel(0, 0), 0x00FFFFFFu);
    const QImage down = SkinImages::load("TOPIMG23").convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(down.pixel(0, 0)), 255);
}

// skin-gen paints every still picture in both sets: each NAME.png has a NAME@2x.png of exactly
// twice its size.
TEST(SkinImages, EveryStillPictureHasItsTwin) {
    ASSERT_FALSE(SkinImages::load(QStringLiteral("TOPIMG0"), 1).isNull()); // resources in
    const QStringList files = QDir(QStringLiteral(":/skin")).entryList({QStringLiteral("*.png")});
    int pairs = 0;
    for (const QString& f : files) {
        if (f.contains(u'@'))
            continue;
        const QImage one(QStringLiteral(":/skin/") + f);
        const QImage two(QStringLiteral(":/skin/") + f.chopped(4) + QStringLiteral("@2x.png"));
        ASSERT_FALSE(two.isNull()) << f.toStdString();
        EXPECT_EQ(two.size(), one.size() * 2) << f.toStdString();
        ++pairs;
    }
    EXPECT_EQ(pairs * 2, files.size()); // and no twin without its picture
    EXPECT_GT(pairs, 70);
}

// The 2× arrows keep the keyed background and have no blended pixels: the ticker stamps them.
TEST(SkinImages, TwinArrowsAreKeyedLikeTheOnes) {
    const QImage up = SkinImages::load("TOPIMG22", 2).convertToFormat(QImage::Format_ARGB32);
    const QImage down = SkinImages::load("TOPIMG23", 2).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(up.size(), QSize(24, 20));
    const quint32 upColour = SkinImages::load("TOPIMG22", 1).pixel(5, 5);
    int keyed = 0, drawn = 0;
    for (int y = 0; y < up.height(); ++y)
        for (int x = 0; x < up.width(); ++x) {
            const quint32 p = up.pixel(x, y);
            keyed += p == 0x00FFFFFFu;
            drawn += p == upColour;
        }
    EXPECT_EQ(keyed + drawn, 24 * 20);
    EXPECT_GT(drawn, 40);
    EXPECT_EQ(up.pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(qAlpha(down.pixel(0, 0)), 255);
}

TEST(SkinImages, LogoPlateCornerIsTheKeyColour) {
    // The twin keys out exactly the 1× corner, pixel block for pixel block: the window's shape
    // is cut from the 1× plate and no key colour may show inside it.
    const QImage one = SkinImages::load("TOPIMG7", 1).convertToFormat(QImage::Format_RGB32);
    const QImage twin = SkinImages::load("TOPIMG7", 2).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(twin.size(), one.size() * 2);
    const QRgb key = qRgb(0xC0, 0xC0, 0xC0);
    int mismatched = 0;
    for (int y = 0; y < twin.height(); ++y)
        for (int x = 0; x < twin.width(); ++x)
            mismatched += (twin.pixel(x, y) == key) != (one.pixel(x / 2, y / 2) == key);
    EXPECT_EQ(mismatched, 0);
    EXPECT_EQ(twin.pixel(0, 0), key);
    const QImage plate = SkinImages::load("TOPIMG7").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(plate.pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_NE(plate.pixel(80, 40), qRgb(0xC0, 0xC0, 0xC0));
}

struct Anim {
    const char* name;
    int w, h;
};

void PrintTo(const Anim& a, std::ostream* os) {
    *os << a.name;
}

class Animations : public ::testing::TestWithParam<Anim> {};

TEST_P(Animations, AreAnimatedGifs) {
    const Anim a = GetParam();
    QByteArray bytes = SkinImages::encoded(QString::fromLatin1(a.name));
    ASSERT_TRUE(bytes.startsWith("GIF8")) << a.name;
    QBuffer buf(&bytes);
    QImageReader reader(&buf, "gif");
    EXPECT_TRUE(reader.supportsAnimation());
    EXPECT_GT(reader.imageCount(), 1);
    EXPECT_EQ(reader.size(), QSize(a.w, a.h));
}

INSTANTIATE_TEST_SUITE_P(Named, Animations,
                         ::testing::Values(Anim{"EARNGIF", 20, 20}, Anim{"VDOLOAD", 400, 300}));

} // namespace
} // namespace kovan
