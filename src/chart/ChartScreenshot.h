#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

namespace kovan {

// Screenshots of chart views: PNG files in the program's screenshots/ folder, named
// SYMBOL_PERIOD_yyyyMMdd-HHmmss.png by the local time of taking them. A second picture in the
// same second gets "-2", "-3", … before ".png": no picture overwrites another.

// "XAGRMB_H1_20250131-080503.png"
QString screenshotFileName(const QString& symbol, const QString& period, const QDateTime& when);

// The first free path for that name in `folder` (which ends with "/").
QString freeScreenshotPath(const QString& folder, const QString& fileName);

// Saves `picture` as PNG under the first free name in `folder`, making the folder when missing;
// returns the path. Throws FileOpenError when the folder or the file cannot be written.
QString saveScreenshot(const QImage& picture, const QString& folder, const QString& symbol,
                       const QString& period, const QDateTime& when);

} // namespace kovan
