#pragma once

#include "chart/ChartData.h"

#include <QByteArray>
#include <QString>

namespace kovan {

// The local bar history of one symbol and period: <programDir>history/<symbol>_<period>.dat,
// 20-byte little-endian records (dl, open, close, low, high), oldest first, no header.
//
// Threads: any thread may load or save. Within the process one path has at most one writer at
// a time (a lock per path), and a save replaces the file atomically (temporary file + rename),
// so a reader never sees a torn file, even after a crash in the middle of a save.

// Code trimming of file names: leading and trailing blanks and control characters go.
QString trimCode(const QString& s);

// <dir>history/<trimmed symbol>_<trimmed period>.dat; `dir` ends with "/".
QString historyFilePath(const QString& dir, const QString& symbol, const QString& period);

// Bars from the raw file bytes: 20-byte steps up to the end, a short trailing piece read as
// far as it goes with the rest zero; a record is kept only when dl > 0, open > 0, close > 0.
// Appends to `out` in file order.
void parseHistoryBytes(const QByteArray& bytes, ChartDataList& out);
QByteArray historyBytes(const ChartDataList& bars);

// The largest history file read: 8 Mi bars (160 MiB), sixteen years of one-minute bars; the
// series is indexed with int all through the renderer.
inline constexpr qint64 kMaxHistoryBytes = qint64(8) * 1024 * 1024 * 20;

// Appends the bars of the file at `path` to `out`. A missing file appends nothing; a file that
// exists but cannot be read, is not a regular file or is larger than kMaxHistoryBytes throws
// FileOpenError.
void loadHistoryFile(const QString& path, ChartDataList& out);
void loadHistoryFile(const QString& path, SharedChartDataList& out);

// Replaces the file at `path` with `bars` (creating the folder when missing). Throws
// FileOpenError when the folder or the file cannot be created or written; the old file then
// stays as it was.
void saveHistoryFile(const QString& path, const ChartDataList& bars);

// The window operations. loadLocalHistory resets `rec` to sym/ped (cut to 15 characters) with
// no bars, keeps `locked`, and appends the bars of that pair's file. saveLocalHistory writes
// the record's whole series to the file named by the record's own symbol and period.
// `dir` is the program folder with a trailing "/". GUI thread (the record's owner).
void loadLocalHistory(ChartDataInfoRecord& rec, const QString& dir, const QString& sym,
                      const QString& ped);
void saveLocalHistory(const ChartDataInfoRecord& rec, const QString& dir);

} // namespace kovan
