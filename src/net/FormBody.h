#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kovan {

// Form bodies of API requests, built from a parameter text of name=value lines.
//
// Lines split at CR LF, LF or CR (a final line break adds no empty line). In a line holding
// "=", the part after the first "=" has every space, "*", "#", "%", "<", ">", "[", "]" and every
// character below code 33 or above code 128 replaced by its UTF-8 bytes as "%XX" (upper-case
// hex); everything else, "&", "=" and "+" included, stays as it is. Lines without "=" stay
// unchanged. One line: that line trimmed. More lines: joined with "&" after trimming the whole
// joined text. A non-ASCII character still present (only possible in a line without "=") is
// sent as "?". Any thread.
QStringList splitParameterLines(const QString& text);
QString encodeFormLine(const QString& line);
QByteArray encodeFormBody(const QString& parameterText);

} // namespace kovan
