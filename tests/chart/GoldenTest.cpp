// Golden images: small frames drawn by kovan-chart-render and compared pixel for pixel with the
// committed PNGs in golden/. Text pixels are left out of the comparison (the renderer reports
// the boxes of its texts as a mask), because glyph rasterisation differs between machines.
// Run with KOVAN_UPDATE_GOLDEN=1 to rewrite the goldens, then look at every one before
// committing it.

#include "chart/ChartData.h"
#include "chart/HistoryFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

using namespace kovan;

namespace {

const QString goldenDir = QStringLiteral(KOVAN_SOURCE_DIR "/tests/chart/golden/");
const QString renderer = QStringLiteral(KOVAN_BIN_DIR "/kovan-chart-render");

const QString style = QStringLiteral(
    R"({"back":"#000000","front":"#FFFFFF","kwidth":3,"kmargin":1,"linetype":0,)"
    R"("yinzhu":"#00FF00","yangzhu":"#FF0000","yinxian":"#00FF00","yangxian":"#FF0000",)"
    R"("gridline":"","broken":"#FFFFFF"})");
const QString syminfo = QStringLiteral(
    R"({"symbol":"XAGRMB","showname":"现货白银","period":"H1","PIPMIN":1,"PIPLEN":0,"BASEPIP":8})");

// 300 hourly bars, the same on every machine (xorshift, whole-number prices).
ChartDataList series() {
    ChartDataList s;
    quint32 seed = 88172645u;
    float p = 5600.0f;
    for (int i = 0; i < 300; ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const float o = p, c = o + float(int(seed % 31) - 15);
        const float h = std::max(o, c) + float(seed % 5),
                    l = std::min(o, c) - float((seed >> 7) % 5);
        s.push_back({1700002800 + i * 3600, o, c, l, h});
        p = c;
    }
    return s;
}

struct Frame {
    const char* name;
    QStringList args;
};

QString pivotLayer() {
    // Levels around the visible part of the 320 × 240 frame (bars 247 … 299), starting at the
    // 16th visible bar.
    const ChartDataList s = series();
    float hi = s[247].high, lo = s[247].low;
    for (size_t i = 247; i < s.size(); ++i) {
        hi = std::max(hi, s[i].high);
        lo = std::min(lo, s[i].low);
    }
    const int pv = int((hi + lo) / 2), d = std::max(int((hi - lo) / 6), 2);
    return QStringLiteral(R"({"type":"PPVI","itime":%1,"PV":%2,"R1":%3,"R2":%4,"R3":%5,)"
                          R"("S1":%6,"S2":%7,"S3":%8,"R5":99999,"S5":1})")
        .arg(s[262].dl)
        .arg(pv)
        .arg(pv + d)
        .arg(pv + 2 * d)
        .arg(pv + 3 * d)
        .arg(pv - d)
        .arg(pv - 2 * d)
        .arg(pv - 3 * d);
}

std::vector<Frame> frames() {
    const QString lineStyle = QString(style)
                                  .replace(R"("linetype":0)", R"("linetype":1)")
                                  .replace(R"("kwidth":3)", R"("kwidth":2)");
    const QString lightStyle = QStringLiteral(
        R"({"back":"#FFFFFF","front":"#203040","kwidth":5,"kmargin":2,"linetype":0,)"
        R"("yinzhu":"#008000","yangzhu":"#C00000","yinxian":"#004000","yangxian":"#800000",)"
        R"("gridline":"","broken":"#808080"})");
    return {
        {"candles", {}},
        {"candles_price", {"--price", "5575"}},
        {"line", {"--style", lineStyle}},
        {"cross", {"--cross", "150,100"}},
        {"scrolled", {"--first", "100"}},
        {"ma",
         {"--layer", R"({"type":"MA","MALIST":[{"MAPED":5,"color":"#FFFF00","linew":1},)"
                     R"({"MAPED":20,"color":"#FF00FF","linew":2}]})"}},
        {"bb", {"--layer", R"({"type":"BB","cycle":20,"stddev":2,"color":"#00FFFF","linew":1})"}},
        {"ppvi_mid", {"--layer", pivotLayer()}},
        {"light_style", {"--style", lightStyle, "--cross", "200,60"}},
    };
}

void PrintTo(const Frame& f, std::ostream* os) {
    *os << f.name;
}

class ChartGoldenTest : public ::testing::TestWithParam<Frame> {
protected:
    static void SetUpTestSuite() {
        tmp = new QTemporaryDir;
        saveHistoryFile(tmp->filePath("demo.dat"), series());
    }
    static void TearDownTestSuite() {
        delete tmp;
        tmp = nullptr;
    }
    static QTemporaryDir* tmp;
};
QTemporaryDir* ChartGoldenTest::tmp = nullptr;

// The mask grown by one pixel, since anti-aliased glyphs may touch their box's border.
bool masked(const QImage& mask, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int xx = x + dx, yy = y + dy;
            if (xx >= 0 && yy >= 0 && xx < mask.width() && yy < mask.height() &&
                qRed(mask.pixel(xx, yy)) > 127)
                return true;
        }
    return false;
}

} // namespace

TEST_P(ChartGoldenTest, MatchesTheCommittedPicture) {
    const Frame f = GetParam();
    const QString out = tmp->filePath(QString::fromLatin1(f.name) + ".png");
    const QString mask = tmp->filePath(QString::fromLatin1(f.name) + ".mask.png");
    QStringList args{
        "--history", tmp->filePath("demo.dat"), "--syminfo", syminfo, "--width", "320", "--height",
        "240"};
    if (!f.args.contains("--style"))
        args << "--style" << style;
    args << f.args << "--out" << out << "--text-mask" << mask;

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(renderer, args);
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const QString golden = goldenDir + QString::fromLatin1(f.name) + ".png";
    const QString goldenMask = goldenDir + QString::fromLatin1(f.name) + ".mask.png";
    if (qEnvironmentVariableIsSet("KOVAN_UPDATE_GOLDEN")) {
        QFile::remove(golden);
        QFile::remove(goldenMask);
        ASSERT_TRUE(QFile::copy(out, golden));
        ASSERT_TRUE(QFile::copy(mask, goldenMask));
        GTEST_SKIP() << "golden rewritten: " << golden.toStdString();
    }

    const QImage a = QImage(out).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(golden).convertToFormat(QImage::Format_RGB32);
    const QImage ma = QImage(mask), mb = QImage(goldenMask);
    ASSERT_FALSE(b.isNull()) << "missing golden " << golden.toStdString();
    ASSERT_FALSE(mb.isNull()) << "missing golden mask " << goldenMask.toStdString();
    ASSERT_EQ(a.size(), b.size());
    int compared = 0, mismatches = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (masked(ma, x, y) || masked(mb, x, y))
                continue;
            ++compared;
            if (a.pixel(x, y) != b.pixel(x, y) && ++mismatches <= 5)
                first += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    EXPECT_EQ(mismatches, 0) << f.name << " differs at" << first;
    // Text must not hide the picture: most pixels are compared.
    EXPECT_GT(compared, a.width() * a.height() * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(ChartFrames, ChartGoldenTest, ::testing::ValuesIn(frames()),
                         [](const ::testing::TestParamInfo<Frame>& i) {
                             return std::string(i.param.name);
                         });

TEST(ChartRenderTool, RefusesMissingArgumentsAndReportsAbandonedFrames) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(renderer, {"--out", "/nonexistent/x.png"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);

    QTemporaryDir dir;
    ChartDataList flat;
    for (int i = 0; i < 20; ++i)
        flat.push_back({1700000000 + i * 60, 10, 10, 10, 10});
    saveHistoryFile(dir.filePath("flat.dat"), flat);
    const QString flatSym = QString(syminfo).replace(R"("BASEPIP":8)", R"("BASEPIP":0)");
    p.start(renderer, {"--history", dir.filePath("flat.dat"), "--syminfo", flatSym, "--style",
                       style, "--out", dir.filePath("flat.png")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("flat.png")));
}
