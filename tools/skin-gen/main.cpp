// skin-gen: paints every skin picture of the client and writes them into resources/skin/,
// and the client's desktop icons into resources/icons/.
//
//   skin-gen <output-dir>        (e.g. resources/skin; the list goes to resources/skin.qrc and
//                                 the desktop icons to resources/icons)
//
// All pictures share one palette: the window blue #309DE9, the dark frame line #013E7F, the
// light frame line #3FA2E7 and the ticker blue #025EA5. Animated pictures (EARNGIF, VDOLOAD) are
// written as PNG frames and joined into GIFs with ImageMagick's `convert` (Qt reads GIF but
// cannot write it). Every still picture is painted twice: NAME.png at 1× and NAME@2x.png with
// twice the pixels for screens scaled to 150 % and more (the client loads the twin with its
// device pixel ratio). The outputs are committed; run this again only when the artwork changes.

#include "AppIcon.h"
#include "Paint.h"

#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadialGradient>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

using namespace skingen;

QString g_outDir;
int g_written = 0;
QStringList g_files; // file names written, for the resource list

// NAME.png in the 1× set, NAME@2x.png (Qt's name for the twice-as-dense twin) in the 2× set.
void save(const QImage& img, const QString& name) {
    const QString file =
        name + (pictureScale() == 1 ? QString() : QStringLiteral("@%1x").arg(pictureScale()));
    const QString path = g_outDir + u'/' + file + QStringLiteral(".png");
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++g_written;
    g_files << file + QStringLiteral(".png");
}

// Title-bar buttons: the glyph in white over the title bar's own gradient, a lighter plate when
// hovered.
QImage captionButton(int w, bool hover, const std::function<void(QPainter&, QRectF)>& glyph,
                     QColor hoverColour = kLight) {
    QImage img = strip(w, 19, kDeep, kTickerBlue);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (hover) {
        QPainterPath plate;
        plate.addRoundedRect(QRectF(1, 0, w - 2, 18), 3, 3);
        p.fillPath(plate, hoverColour);
    }
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    glyph(p, QRectF((w - 10) / 2.0, 4.5, 10, 10));
    return img;
}

void minimiseGlyph(QPainter& p, QRectF r) {
    p.drawLine(QPointF(r.left(), r.bottom() - 1), QPointF(r.right(), r.bottom() - 1));
}
void maximiseGlyph(QPainter& p, QRectF r) {
    p.drawRect(r.adjusted(0, 0, 0, -0.5));
    p.drawLine(QPointF(r.left(), r.top() + 1.5), QPointF(r.right(), r.top() + 1.5));
}
void restoreGlyph(QPainter& p, QRectF r) {
    p.drawRect(QRectF(r.left(), r.top() + 3, 7, 6.5));
    p.drawPolyline(QPolygonF({QPointF(r.left() + 3, r.top() + 3), QPointF(r.left() + 3, r.top()),
                              QPointF(r.right(), r.top()), QPointF(r.right(), r.top() + 6.5),
                              QPointF(r.left() + 7, r.top() + 6.5)}));
}
void closeGlyph(QPainter& p, QRectF r) {
    r.adjust(1, 0, -1, -1);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

// Logo plate: the top-left corner is rounded; outside the curve the silver key colour shows
// (the window turns it into transparency).
QImage logoPlate() {
    const int w = 161, h = 85;
    QImage img = blank(w, h, kSilver);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 0, w + 12, h + 12), 12, 12);
    if (pictureScale() == 1) {
        p.setClipPath(body);
    } else {
        // The window cuts its corner from the 1× plate, so the twin keys out exactly the 1×
        // corner's pixels (each a block here): a finer curve would leave key-coloured pixels
        // inside the window's shape.
        const int scale = std::exchange(pictureScale(), 1);
        const QImage one = logoPlate();
        pictureScale() = scale;
        const QRegion keyed(
            QBitmap::fromImage(one.createMaskFromColor(kSilver.rgb(), Qt::MaskOutColor)));
        p.setClipRegion(QRegion(0, 0, w, h) - keyed);
    }
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, kNavy);
    g.setColorAt(1, kTickerBlue);
    p.fillRect(img.rect(), g);
    // A soft glow behind the member picture.
    QRadialGradient glow(QPointF(61, 40), 48);
    glow.setColorAt(0, QColor(0x3F, 0xA2, 0xE7, 110));
    glow.setColorAt(1, QColor(0x3F, 0xA2, 0xE7, 0));
    p.fillRect(img.rect(), glow);
    p.setPen(kLight);
    p.drawLine(0, h - 1, w, h - 1);
    p.setPen(QColor(255, 255, 255, 40));
    for (int x = 110; x < w; x += 9)
        p.drawLine(x, h - 2, x + 20, h - 22);
    return img;
}

// Navigation button background 100 × 35: a rounded tab with a top highlight.
QImage navButton(bool dark) {
    QImage img = blank(100, 35);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(1, 1, 98, 40), 5, 5);
    if (dark) {
        p.fillPath(tab, vertical(35, kNavy, kDeep));
        p.setPen(QPen(kLight, 1));
        p.drawPath(tab);
    } else {
        p.fillPath(tab, vertical(35, QColor(0x3F, 0xA2, 0xE7, 120), QColor(0x30, 0x9D, 0xE9, 60)));
        p.setPen(QPen(QColor(255, 255, 255, 70), 1));
        p.drawPath(tab);
    }
    return img;
}

// Service button 82 × 37: normal / hover / pressed.
QImage serviceButton(int state) {
    QImage img = blank(82, 37);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    plate.addRoundedRect(QRectF(1.5, 2.5, 79, 32), 5, 5);
    if (state == 0) {
        p.fillPath(plate, vertical(37, QColor(0x3F, 0xA2, 0xE7, 90), QColor(0x02, 0x5E, 0xA5, 90)));
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    } else if (state == 1) {
        p.fillPath(plate, vertical(37, kLight, kBlue));
        p.setPen(QPen(Qt::white, 1));
    } else {
        p.fillPath(plate, vertical(37, kNavy, kTickerBlue));
        p.setPen(QPen(kLight, 1));
    }
    p.drawPath(plate);
    return img;
}

// Divider arrow 7 × 45: a small triangle on a raised plate, pointing the way a click moves the
// column edge.
QImage dividerArrow(bool pointLeft) {
    QImage img = strip(7, 45, kLight, kBlue);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kNavy);
    p.drawLine(0, 0, 0, 44);
    p.setPen(QColor(255, 255, 255, 120));
    p.drawLine(1, 0, 1, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPolygonF tri = pointLeft ? QPolygonF({{5.5, 17.5}, {1.5, 22.5}, {5.5, 27.5}})
                                    : QPolygonF({{1.5, 17.5}, {5.5, 22.5}, {1.5, 27.5}});
    p.drawPolygon(tri);
    return img;
}

QImage dividerStrip() {
    QImage img = blank(7, 8, kBlue);
    QPainter p(&img);
    p.setPen(kNavy);
    p.drawLine(0, 0, 0, 7);
    p.setPen(kLight);
    p.drawLine(1, 0, 1, 7);
    p.setPen(kNavy);
    p.drawLine(6, 0, 6, 7);
    return img;
}

// Background tile of the content pane and of the error pages: white with a faint grid.
QImage gridTile() {
    QImage img = blank(14, 14, QColor(0xF6, 0xFA, 0xFE));
    QPainter p(&img);
    p.setPen(QColor(0xE1, 0xEE, 0xFA));
    p.drawLine(0, 13, 13, 13);
    p.drawLine(13, 0, 13, 13);
    return img;
}

// Ticker arrows 12 × 10. The up arrow's background is 0x00FFFFFF, the value the ticker skips
// when it stamps the arrow; the down arrow sits on the ticker blue and is copied as it is.
QImage tickerArrow(bool up) {
    if (pictureScale() != 1) {
        // The same triangle drawn at the set's resolution, without smoothing, so that every
        // pixel is either the arrow's colour or its background (the up arrow's key value).
        QImage img = blank(12, 10, up ? QColor::fromRgba(0x00FFFFFF) : kTickerBlue);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(up ? kUpRed : kDownGreen);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        const QPolygonF tri =
            up ? QPolygonF({QPointF(5, 1), QPointF(7, 1), QPointF(12, 9), QPointF(0, 9)})
               : QPolygonF({QPointF(0, 1), QPointF(12, 1), QPointF(7, 9), QPointF(5, 9)});
        p.drawPolygon(tri);
        return img;
    }
    QImage img(12, 10, QImage::Format_ARGB32);
    img.fill(up ? QColor::fromRgba(0x00FFFFFF) : kTickerBlue);
    for (int y = 0; y < 10; ++y) {
        // Rows 1..8 hold the triangle; width grows by one pixel on each side per row.
        const int row = up ? y - 1 : 8 - y;
        if (row < 0 || row > 7)
            continue;
        const int half = row * 5 / 7; // 0..5
        for (int x = 5 - half; x <= 6 + half; ++x)
            img.setPixel(x, y, (up ? kUpRed : kDownGreen).rgba());
    }
    return img;
}

// Tab slices 4 × 25 (caps) and 4 × 25 (bodies); caps carry the rounded ends.
QImage tabSlice(int which, QColor top, QColor bottom) { // 0 left cap, 1 body, 2 right cap
    QImage img = blank(4, 25);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (which == 0)
        path.addRoundedRect(QRectF(0.5, 0.5, 12, 24), 3, 3);
    else if (which == 2)
        path.addRoundedRect(QRectF(-8.5, 0.5, 12, 24), 3, 3);
    else
        path.addRect(QRectF(-1, 0.5, 6, 24));
    p.fillPath(path, vertical(25, top, bottom));
    p.setPen(QPen(kNavy, 1));
    p.drawPath(path);
    return img;
}

QImage separator(QColor c) {
    QImage img = blank(1, 25);
    QPainter p(&img);
    p.fillRect(QRect(0, 3, 1, 19), c);
    return img;
}

QImage dropArrow() {
    QImage img = blank(9, 5);
    if (pictureScale() != 1) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(9, 0), QPointF(4.5, 4.5)}));
        return img;
    }
    for (int y = 0; y < 5; ++y)
        for (int x = y; x < 9 - y; ++x)
            img.setPixel(x, y, qRgba(255, 255, 255, 255));
    return img;
}

// Member picture 83 × 57: a head-and-shoulders sign on a rounded plate; the member version is
// lit in gold.
QImage memberPicture(bool member) {
    QImage img = blank(83, 57);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    plate.addRoundedRect(QRectF(12.5, 0.5, 57, 56), 8, 8);
    p.fillPath(plate, vertical(57, member ? kLight : kBlue, member ? kBlue : kTickerBlue));
    p.setPen(QPen(member ? kGold : QColor(255, 255, 255, 160), 1.5));
    p.drawPath(plate);
    const QColor figure = member ? kGold : QColor(255, 255, 255, 220);
    p.setPen(Qt::NoPen);
    p.setBrush(figure);
    p.drawEllipse(QPointF(41, 21), 9, 9);
    QPainterPath shoulders;
    shoulders.moveTo(24, 52);
    shoulders.cubicTo(24, 34, 58, 34, 58, 52);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    return img;
}

QImage star(int count) {
    QImage img = blank(16 * count, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xC8, 0x8A, 0x10), 0.8));
    p.setBrush(kGold);
    for (int i = 0; i < count; ++i) {
        QPolygonF s;
        for (int k = 0; k < 10; ++k) {
            const double a = -M_PI / 2 + k * M_PI / 5;
            const double r = (k % 2) ? 3.0 : 7.2;
            s << QPointF(16 * i + 8 + r * std::cos(a), 8.6 + r * std::sin(a));
        }
        p.drawPolygon(s);
    }
    return img;
}

QImage folder(bool open) {
    QImage img = blank(16, 14);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xA0, 0x70, 0x10), 0.8));
    p.setBrush(QColor(0xE8, 0xB8, 0x3A));
    p.drawRect(QRectF(0.5, 2.5, 6, 3));
    p.drawRect(QRectF(0.5, 3.5, 15, 10));
    if (open) {
        p.setBrush(QColor(0xF8, 0xD8, 0x6A));
        p.drawPolygon(QPolygonF({{3.5, 6.5}, {15.5, 6.5}, {12.5, 13.5}, {0.5, 13.5}}));
    }
    return img;
}

QImage speaker(bool on) {
    QImage img = blank(25, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{5, 7}, {8, 7}, {12, 3}, {12, 15}, {8, 11}, {5, 11}}));
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(10, 5.5, 6, 7), -50 * 16, 100 * 16);
        p.drawArc(QRectF(9, 2.5, 10, 13), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(0xFF, 0xC0, 0xC0), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 6.5), QPointF(20, 11.5));
        p.drawLine(QPointF(20, 6.5), QPointF(15, 11.5));
    }
    return img;
}

// The small mark at the left of the status band.
QImage statusIcon() {
    const int s = pictureScale();
    QImage img =
        appIcon(64 * s).scaled(18 * s, 18 * s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(s);
    return img;
}

// The application icon of `size` logical pixels in the present set.
QImage appIconPicture(int size) {
    QImage img = appIcon(size * pictureScale());
    img.setDevicePixelRatio(pictureScale());
    return img;
}

// Spinner frame: twelve spokes, the lit one turning with the frame number.
QImage spinnerFrame(int w, int h, QColor bg, int frame, int frames, double radius, QColor spoke) {
    QImage img = blank(w, h, bg);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(w / 2.0, h / 2.0);
    const int spokes = 12;
    for (int i = 0; i < spokes; ++i) {
        const int age = (frame * spokes / frames - i + spokes) % spokes;
        QColor c = spoke;
        c.setAlphaF(std::max(0.15, 1.0 - age / double(spokes)));
        p.setPen(QPen(c, std::max(1.5, radius / 5), Qt::SolidLine, Qt::RoundCap));
        const double a = 2 * M_PI * i / spokes;
        p.drawLine(QPointF(radius * 0.5 * std::cos(a), radius * 0.5 * std::sin(a)),
                   QPointF(radius * std::cos(a), radius * std::sin(a)));
    }
    return img;
}

// EARNGIF frame 20 × 20: a gold coin turning on the band blue.
QImage earnFrame(int frame, int frames) {
    QImage img = blank(20, 20, kBlue);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double phase = std::cos(2 * M_PI * frame / frames);
    const double rx = std::max(1.2, 7.5 * std::fabs(phase));
    p.setPen(QPen(QColor(0xB0, 0x78, 0x08), 1));
    p.setBrush(phase >= 0 ? kGold : QColor(0xE0, 0xA8, 0x20));
    p.drawEllipse(QPointF(10, 10), rx, 7.5);
    if (rx > 4) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x8A, 0x5A, 0x00));
        p.save();
        p.translate(10, 10);
        p.scale(rx / 7.5, 1);
        p.drawText(QRectF(-6, -7, 12, 14), Qt::AlignCenter, QStringLiteral("$"));
        p.restore();
    }
    return img;
}

void gif(const QString& name, int frames, int delayCs,
         const std::function<QImage(int)>& paintFrame) {
    QTemporaryDir tmp;
    QStringList args{QStringLiteral("-delay"), QString::number(delayCs),   QStringLiteral("-loop"),
                     QStringLiteral("0"),      QStringLiteral("-dispose"), QStringLiteral("none")};
    for (int i = 0; i < frames; ++i) {
        const QString path = tmp.path() + QStringLiteral("/f%1.png").arg(i, 2, 10, QChar(u'0'));
        paintFrame(i).save(path, "PNG");
        args << path;
    }
    args << g_outDir + u'/' + name + QStringLiteral(".gif");
    const int rc = QProcess::execute(QStringLiteral("convert"), args);
    if (rc != 0) {
        std::fprintf(stderr, "skin-gen: convert failed for %s (rc %d)\n", qPrintable(name), rc);
        std::exit(1);
    }
    ++g_written;
    g_files << name + QStringLiteral(".gif");
}

// The icons of the desktop entry, for the hicolor theme: kovan-<size>.png and kovan.svg.
void writeDesktopIcons(const QString& dir) {
    QDir().mkpath(dir);
    for (int size : {48, 128, 256}) {
        const QString path = dir + QStringLiteral("/kovan-%1.png").arg(size);
        if (!appIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    QFile svg(dir + QStringLiteral("/kovan.svg"));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) || svg.write(appIconSvg()) < 0) {
        std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(svg.fileName()));
        std::exit(1);
    }
}

// The Qt resource list beside the output folder: every picture as ":/<folder>/<file>".
void writeResourceList() {
    const QDir out(g_outDir);
    const QString folder = out.dirName();
    QString text =
        QStringLiteral("<!DOCTYPE RCC>\n<!-- Written by skin-gen. -->\n<RCC version=\"1.0\">\n"
                       "<qresource prefix=\"/\">\n");
    g_files.sort();
    for (const QString& f : std::as_const(g_files))
        text += QStringLiteral("    <file>") + folder + u'/' + f + QStringLiteral("</file>\n");
    text += QStringLiteral("</qresource>\n</RCC>\n");
    QFile qrc(out.absoluteFilePath(QStringLiteral("../") + folder + QStringLiteral(".qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate) || qrc.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(qrc.fileName()));
        std::exit(1);
    }
}

// Every still picture of the present set.
void paintPictures() {
    // Title bar buttons.
    save(captionButton(30, false, closeGlyph), QStringLiteral("TOPIMG0"));
    save(captionButton(32, false, minimiseGlyph), QStringLiteral("TOPIMG1"));
    save(captionButton(31, true, minimiseGlyph), QStringLiteral("TOPIMG2"));
    save(captionButton(32, false, maximiseGlyph), QStringLiteral("TOPIMG3"));
    save(captionButton(31, true, maximiseGlyph), QStringLiteral("TOPIMG4"));
    save(captionButton(32, false, restoreGlyph), QStringLiteral("TOPIMG5"));
    save(captionButton(31, true, restoreGlyph), QStringLiteral("TOPIMG6"));
    save(logoPlate(), QStringLiteral("TOPIMG7"));
    save(strip(5, 31, kDeep, kTickerBlue), QStringLiteral("TOPIMG8"));
    save(strip(11, 54, kTickerBlue, kBlue), QStringLiteral("TOPIMG9"));
    save(strip(11, 54, kNavy, kTickerBlue), QStringLiteral("TOPIMG10"));
    save(dividerArrow(true), QStringLiteral("TOPIMG11"));
    save(dividerStrip(), QStringLiteral("TOPIMG12"));
    save(gridTile(), QStringLiteral("TOPIMG13"));
    save(strip(8, 39, QColor(0xEE, 0xF6, 0xFD), QColor(0xCF, 0xE5, 0xF8), kLight),
         QStringLiteral("TOPIMG14"));
    save(strip(8, 39, kLight, kBlue, kNavy), QStringLiteral("TOPIMG15"));
    save(strip(5, 27, kBlue, QColor(0x1E, 0x84, 0xCE)), QStringLiteral("TOPIMG16"));
    save(strip(5, 25, kTickerBlue, kDeep), QStringLiteral("TOPIMG17"));
    save(dividerArrow(false), QStringLiteral("TOPIMG18"));
    save(serviceButton(0), QStringLiteral("TOPIMG19"));
    save(serviceButton(1), QStringLiteral("TOPIMG20"));
    save(serviceButton(2), QStringLiteral("TOPIMG21"));
    save(tickerArrow(true), QStringLiteral("TOPIMG22"));
    save(tickerArrow(false), QStringLiteral("TOPIMG23"));
    save(strip(12, 10, kTickerBlue, kTickerBlue), QStringLiteral("TOPIMG24"));
    save(captionButton(30, true, closeGlyph, kUpRed), QStringLiteral("TOPIMG25"));

    // Tab pieces: 0–2 plain tab, 3–5 hovered tab, 6 separator, 7–9 normal button,
    // 10–12 selected button, 13 light separator, 14 the separator between grouped buttons.
    const QColor paleTop(0xF4, 0xF9, 0xFE), paleBottom(0xDA, 0xEA, 0xF8);
    for (int i = 0; i < 3; ++i) {
        save(tabSlice(i, paleTop, paleBottom), QStringLiteral("IBTN%1").arg(i));
        save(tabSlice(i, QColor(0xFF, 0xFF, 0xFF), kLight), QStringLiteral("IBTN%1").arg(3 + i));
        save(tabSlice(i, QColor(0x6C, 0xB8, 0xEE), kBlue), QStringLiteral("IBTN%1").arg(7 + i));
        save(tabSlice(i, kDeep, kTickerBlue), QStringLiteral("IBTN%1").arg(10 + i));
    }
    save(separator(kLight), QStringLiteral("IBTN6"));
    save(separator(QColor(255, 255, 255, 160)), QStringLiteral("IBTN13"));
    save(separator(kNavy), QStringLiteral("IBTN14"));

    save(navButton(false), QStringLiteral("NAVBTBG1"));
    save(navButton(true), QStringLiteral("NAVBTBG2"));
    save(dropArrow(), QStringLiteral("SORTBTN"));
    for (int i = 0; i < 8; ++i)
        save(spinnerFrame(32, 32, Qt::transparent, i, 8, 14, kBlue),
             QStringLiteral("BTLOAD%1").arg(i));
    save(star(1), QStringLiteral("STAR1"));
    save(star(2), QStringLiteral("STAR2"));
    save(star(3), QStringLiteral("STAR3"));
    save(folder(false), QStringLiteral("FCLOSE"));
    save(folder(true), QStringLiteral("FOPEN"));
    save(memberPicture(false), QStringLiteral("LOGO1"));
    save(memberPicture(true), QStringLiteral("LOGO2"));
    save(speaker(true), QStringLiteral("AUDOPEN"));
    save(speaker(false), QStringLiteral("AUDCLOSE"));
    save(statusIcon(), QStringLiteral("STATUSICON"));
    save(appIconPicture(64), QStringLiteral("APPICON"));
    save(appIconPicture(256), QStringLiteral("APPICON256"));
    paintNoticeArt(save);
    paintVideoArt(save);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-gen <output-dir>\n");
        return 2;
    }
    g_outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_outDir);

    // The still pictures at 1× and at 2×; the animations and the desktop icons once.
    for (const int scale : {1, 2}) {
        pictureScale() = scale;
        paintPictures();
    }
    pictureScale() = 1;
    writeDesktopIcons(QDir(g_outDir).absoluteFilePath(QStringLiteral("../icons")));

    gif(QStringLiteral("EARNGIF"), 12, 10, [](int i) { return earnFrame(i, 12); });
    gif(QStringLiteral("VDOLOAD"), 12, 8,
        [](int i) { return spinnerFrame(400, 300, QColor(0x10, 0x18, 0x24), i, 12, 36, kLight); });

    writeResourceList();
    std::printf("skin-gen: %d pictures written to %s\n", g_written, qPrintable(g_outDir));
    return 0;
}
