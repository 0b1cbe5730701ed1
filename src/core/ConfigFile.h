#pragma once

#include "core/NameValueList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kovan {

// config.dat: the settings file in the program folder.
//
// Reading detects a byte-order mark (UTF-8, UTF-16 LE/BE); without one the bytes are UTF-8
// when they are valid UTF-8, otherwise GB18030 (the code page older installs wrote). Lines end
// at CR LF, CR or LF. Writing produces UTF-8 without a mark, every line followed by CR LF.
namespace configfile {

QStringList decodeLines(const QByteArray& bytes);
QByteArray encodeLines(const QStringList& lines);

// The largest config.dat read: settings are a few dozen short lines.
inline constexpr qint64 kMaxBytes = 1024 * 1024;

// Reads the file's lines. A missing file gives no lines; a file that exists but cannot be read,
// is not a regular file or is larger than kMaxBytes throws FileOpenError.
QStringList load(const QString& path);

// Replaces the file atomically (temporary file in the same folder, flushed, renamed over the
// old one): a crash or a full disk never leaves a torn or empty file. The file is made 0600
// whatever the umask and the old file's mode (AUTHINFO's scrambling is reversible). Throws
// FileOpenError on failure; the old file is then untouched.
void save(const QString& path, const QStringList& lines);

// The start-up normalisation of the local-alert keys: `localalert` becomes "1" or "0";
// `localaudio` keeps an existing file's path, becomes "default" when alerts are on, and is
// deleted when they are off. `fileExists` is asked about the stored path.
void normaliseLocalAlert(NameValueList& settings, bool (*fileExists)(const QString&));

} // namespace configfile

} // namespace kovan
