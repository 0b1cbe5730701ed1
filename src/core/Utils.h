#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace kovan {

// Chinese label of an order type ("SELL LIMIT" → "高位卖出"); exact, case-sensitive match,
// the caller upper-cases first. Unknown types give the empty text.
QString orderTypeName(const QString& orderType);

// Version text of an executable: the "version" member of the JSON payload of its ELF
// package-metadata note (section .note.package, owner "FDO", type 0xcafe1a7e, as written by
// `ld --package-metadata`). Missing file, not ELF, no note or no member: the empty text.
// Callers only compare these texts for equality.
QString getFileVersion(const QString& path);

// Keeps the calling thread's Qt events flowing for `ms` milliseconds. On a thread without an
// event loop (no QCoreApplication, or a worker without one) this is a plain sleep. 0 or a
// negative value returns at once.
void waitWithMessages(int ms);

// Splits on every exact occurrence of `delimiter`: "a###b" → {"a","b"}, "###" → {"",""},
// "" → {""}. An empty delimiter gives the whole text as one piece.
QStringList splitStr(const QString& s, const QString& delimiter);

// "星期天" … "星期六" for the given date; the no-argument form uses today's local date.
QString weekdayName(const QDate& date);
QString weekdayName();

} // namespace kovan
