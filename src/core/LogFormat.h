#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kovan {

// The log files in <dir>/logs: one file a day, "kovan-YYYYMMDD.log", one line an event.

// "kovan-20250131.log" for 31 January 2025.
QString logFileName(QDate day);

// "2025-01-31 08:05:03.123 <text>\n" in UTF-8, local time. Line breaks inside `text` become
// "|" and other control characters spaces, so every event stays one line.
QByteArray logLine(const QDateTime& at, const QString& text);

// Of the names in a logs folder, the log files to remove so that at most `keep` remain: the
// oldest by the date in their names. `current` (the file being written) always stays. Names
// that are not log files are never listed.
QStringList logFilesToRemove(const QStringList& names, int keep, const QString& current);

} // namespace kovan
