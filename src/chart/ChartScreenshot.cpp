#include "chart/ChartScreenshot.h"

#include "core/Errors.h"
#include "core/PrivateFiles.h"

#include <QFile>
#include <QSaveFile>

namespace kovan {

QString screenshotFileName(const QString& symbol, const QString& period, const QDateTime& when) {
    return symbol + u'_' + period + u'_' + when.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
           QStringLiteral(".png");
}

QString freeScreenshotPath(const QString& folder, const QString& fileName) {
    QString path = folder + fileName;
    const QString stem = fileName.chopped(4); // without ".png"
    for (int n = 2; QFile::exists(path); ++n)
        path = folder + stem + u'-' + QString::number(n) + QStringLiteral(".png");
    return path;
}

QString saveScreenshot(const QImage& picture, const QString& folder, const QString& symbol,
                       const QString& period, const QDateTime& when) {
    if (!makeFolders(folder))
        throw FileOpenError("cannot create folder " + folder.toStdString());
    const QString path = freeScreenshotPath(folder, screenshotFileName(symbol, period, when));
    // Written under a temporary name and renamed: a half-written picture never shows up.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
        throw FileOpenError("cannot write " + path.toStdString());
    return path;
}

} // namespace kovan
