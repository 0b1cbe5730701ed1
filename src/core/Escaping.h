#pragma once

#include <QString>
#include <QStringView>

namespace kovan {

// The one way text from outside (a session id, page data, a server reply) goes into a page
// script or into an address. Any thread.

// A JavaScript string literal in single quotes that evaluates to exactly `text` (so
// "reloadCheck(" + jsStringLiteral("S1") + ")" reads reloadCheck('S1')): backslash, the single
// quote, every control character, the line terminators U+2028/U+2029 and lone
// surrogates are escaped, and "<" is written \u003C so that no "</script" can end an inline
// script around it.
QString jsStringLiteral(QStringView text);

// `text` as one path segment of an address: every byte of its UTF-8 form except the unreserved
// characters A–Z a–z 0–9 "-" "." "_" "~" is percent-encoded, so "/", "?", "#", "%", spaces and
// line breaks cannot change the address's shape. ("." and ".." stay dot segments: refuse
// those where a segment comes from outside.)
QString urlPathSegment(QStringView text);

// `text` as the value of a query parameter: as urlPathSegment, so "&", "=", "+" and "#" are
// encoded too.
QString urlQueryValue(QStringView text);

} // namespace kovan
