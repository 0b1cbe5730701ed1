#include "net/FormBody.h"

namespace kovan {

namespace {

bool needsEscape(char16_t c) {
    switch (c) {
    case u' ':
    case u'*':
    case u'#':
    case u'%':
    case u'<':
    case u'>':
    case u'[':
    case u']':
        return true;
    default:
        return c < 33 || c > 128;
    }
}

// Trim as the old form builder did: every character up to and including the space goes.
QString trimControls(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin].unicode() <= 32)
        ++begin;
    while (end > begin && s[end - 1].unicode() <= 32)
        --end;
    return s.mid(begin, end - begin);
}

} // namespace

QStringList splitParameterLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString encodeFormLine(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return line;
    QString out = line.left(eq + 1);
    out.reserve(line.size() * 3);
    static const char hex[] = "0123456789ABCDEF";
    qsizetype i = eq + 1;
    while (i < line.size()) {
        if (!needsEscape(line[i].unicode())) {
            out.append(line[i]);
            ++i;
            continue;
        }
        // A run of characters to escape, so that a surrogate pair becomes one UTF-8 sequence.
        qsizetype j = i;
        while (j < line.size() && needsEscape(line[j].unicode()))
            ++j;
        const QByteArray utf8 = QStringView(line).mid(i, j - i).toUtf8();
        for (const char byte : utf8) {
            const auto b = static_cast<unsigned char>(byte);
            out.append(u'%');
            out.append(QLatin1Char(hex[b >> 4]));
            out.append(QLatin1Char(hex[b & 15]));
        }
        i = j;
    }
    return out;
}

QByteArray encodeFormBody(const QString& parameterText) {
    QStringList lines = splitParameterLines(parameterText);
    for (QString& line : lines)
        line = encodeFormLine(line);
    QString text;
    if (lines.size() == 1) {
        text = trimControls(lines.front());
    } else if (lines.size() > 1) {
        text = trimControls(lines.join(QStringLiteral("\r\n")));
        text.replace(QStringLiteral("\r\n"), QStringLiteral("&"));
    }
    QByteArray body;
    body.reserve(text.size());
    for (const QChar c : std::as_const(text))
        body.append(c.unicode() < 128 ? char(c.unicode()) : '?');
    return body;
}

} // namespace kovan
