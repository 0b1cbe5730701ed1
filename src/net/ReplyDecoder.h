#pragma once

#include <QByteArray>
#include <QString>

namespace kovan {

// Decodes a reply body by the charset parameter of its Content-Type header:
//  - utf-8 (utf8);
//  - utf-16 (byte-order mark honoured, little-endian without one), utf-16le, utf-16be;
//  - iso-8859-1 (latin1);
//  - gbk, gb2312, gb18030, big5 (iconv; gb2312 is read as its superset GBK, as browsers do).
// No charset, or any other name: ISO-8859-1. Bytes that are invalid in the named charset become
// U+FFFD. Any thread.
QString decodeReplyBody(const QByteArray& body, const QByteArray& contentType);

// The lower-cased charset parameter of a Content-Type value ("" when there is none).
QByteArray charsetOf(const QByteArray& contentType);

} // namespace kovan
