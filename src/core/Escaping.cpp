#include "core/Escaping.h"

#include <QUrl>

namespace kovan {

namespace {

void appendUnicodeEscape(QString& out, char16_t u) {
    static const char kHex[] = "0123456789ABCDEF";
    out += QStringLiteral("\\u");
    for (int shift = 12; shift >= 0; shift -= 4)
        out += QLatin1Char(kHex[(u >> shift) & 0xF]);
}

} // namespace

QString jsStringLiteral(QStringView text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'\'';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        switch (u) {
        case u'\'':
            out += QStringLiteral("\\'");
            continue;
        case u'\\':
            out += QStringLiteral("\\\\");
            continue;
        case u'\n':
            out += QStringLiteral("\\n");
            continue;
        case u'\r':
            out += QStringLiteral("\\r");
            continue;
        case u'\t':
            out += QStringLiteral("\\t");
            continue;
        case u'<':
        case u'>':
        case 0x2028:
        case 0x2029:
            appendUnicodeEscape(out, u);
            continue;
        default:
            break;
        }
        if (u < 0x20 || u == 0x7F) {
            appendUnicodeEscape(out, u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (QChar::isSurrogate(u)) {
            appendUnicodeEscape(out, u); // a lone half of a pair
        } else {
            out += text[i];
        }
    }
    out += u'\'';
    return out;
}

QString urlPathSegment(QStringView text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text.toString()));
}

QString urlQueryValue(QStringView text) {
    return urlPathSegment(text);
}

} // namespace kovan
