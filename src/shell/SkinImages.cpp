#include "shell/SkinImages.h"

#include "core/RoundHalfEven.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

// The resource file lives in a static library; naming its initialiser here keeps the linker
// from dropping it.
static void initSkinResources() {
    Q_INIT_RESOURCE(skin);
}

namespace kovan {

namespace {

void ensureResources() {
    static const bool done = [] {
        initSkinResources();
        return true;
    }();
    (void)done;
}

// The format is known from the name. Left to guess, the reader would load and ask every
// image-format plugin on the system (nine libraries here, several milliseconds at start).
QImage read(const QString& path) {
    if (!QFile::exists(path))
        return QImage();
    QImageReader reader(path, path.endsWith(QLatin1String(".gif")) ? "gif" : "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QList<QImage> numbered(const QString& prefix, int count) {
    QList<QImage> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(SkinImages::load(prefix + QString::number(i)));
    return out;
}

} // namespace

QString SkinImages::resourcePath(const QString& name) {
    if (name == QLatin1String("EARNGIF") || name == QLatin1String("VDOLOAD"))
        return QStringLiteral(":/skin/") + name + QStringLiteral(".gif");
    return QStringLiteral(":/skin/") + name + QStringLiteral(".png");
}

QImage SkinImages::load(const QString& name) {
    return load(name, ratio());
}

double SkinImages::ratio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QImage SkinImages::load(const QString& name, double ratio) {
    ensureResources();
    if (ratio > 1 && !resourcePath(name).endsWith(QLatin1String(".gif"))) {
        QImage twin = read(resourcePath(name + QStringLiteral("@2x")));
        if (!twin.isNull()) {
            if (ratio >= 2) {
                twin.setDevicePixelRatio(2);
                return twin;
            }
            // The 2× twin brought down to this screen's resolution: the 1× size scaled and
            // rounded (the twin is exactly twice the 1× size).
            const QSize target(roundHalfEven(twin.width() / 2 * ratio),
                               roundHalfEven(twin.height() / 2 * ratio));
            QImage out = twin.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            out.setDevicePixelRatio(ratio);
            return out;
        }
    }
    return read(resourcePath(name));
}

QByteArray SkinImages::encoded(const QString& name) {
    ensureResources();
    QFile f(resourcePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void SkinImages::loadStartImages() {
    star1 = load(QStringLiteral("STAR1"));
    star2 = load(QStringLiteral("STAR2"));
    star3 = load(QStringLiteral("STAR3"));
    folderClosed = load(QStringLiteral("FCLOSE"));
    folderOpen = load(QStringLiteral("FOPEN"));
    dropArrowImage = load(QStringLiteral("SORTBTN"));
}

void SkinImages::loadSkin() {
    topImages = numbered(QStringLiteral("TOPIMG"), 25);
    guestPicture = load(QStringLiteral("LOGO1"));
    memberPicture = load(QStringLiteral("LOGO2"));
    const QImage nav1 = load(QStringLiteral("NAVBTBG1"));
    const QImage nav2 = load(QStringLiteral("NAVBTBG2"));
    navButtonImages = {nav1, nav2, nav2};
    ibtnImages = numbered(QStringLiteral("IBTN"), 15);
    loadingFrames = numbered(QStringLiteral("BTLOAD"), 8);
    speakerOn = load(QStringLiteral("AUDOPEN"));
    speakerOff = load(QStringLiteral("AUDCLOSE"));
    statusIcon = load(QStringLiteral("STATUSICON"));
    appIcon = load(QStringLiteral("APPICON"));
}

SkinImages& skin() {
    static SkinImages s;
    return s;
}

} // namespace kovan
