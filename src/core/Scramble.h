#pragma once

#include <QString>

namespace kovan {

// The built-in key every caller passes; also used when the key argument is empty.
inline constexpr char16_t kScrambleKey[] = u"plainlocalscramblekeyvalue";

// Reversible XOR scrambling used for the login password, the remembered login in config.dat
// and the client key in web-site links. The server decodes what we send and config.dat files
// already written must stay readable, so the byte layout is fixed:
// each UTF-16 unit's low byte XOR the key byte, as two upper-case hex digits.
QString scrambleStr(const QString& plain, const QString& key = QString::fromUtf16(kScrambleKey));

// Inverse of scrambleStr for texts of characters up to U+00FF. A trailing odd character is
// ignored. Throws ConversionError when a pair is not hexadecimal.
QString unscrambleStr(const QString& scrambled,
                      const QString& key = QString::fromUtf16(kScrambleKey));

// The client key: a stable per-computer 32-bit number as an unsigned decimal text. It is the
// first 8 hex digits of /etc/machine-id; an unreadable id gives the empty text. Never stored.
QString getClientKey();
// Same, from a given machine-id file (tests).
QString clientKeyFromFile(const QString& machineIdPath);

} // namespace kovan
