#include "core/ConfigFile.h"

#include "core/AtomicFile.h"
#include "core/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace kovan::configfile {

namespace {

// The mark at the front is taken off by hand; anything after it, a second U+FEFF included, is
// text and kept (the decoders would drop one more).
QString decodeAfterMark(QStringDecoder::Encoding encoding, const QByteArray& rest) {
    QStringDecoder d(encoding,
                     QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return d(rest);
}

QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeAfterMark(QStringDecoder::Utf8, bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeAfterMark(QStringDecoder::Utf16LE, bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeAfterMark(QStringDecoder::Utf16BE, bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030");
    return gb.isValid() ? QString(gb(bytes)) : QString::fromLatin1(bytes);
}

} // namespace

QStringList decodeLines(const QByteArray& bytes) {
    const QString text = decodeText(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray out;
    // A first line that itself begins with U+FEFF would read back as a byte-order mark and lose
    // that character at every save: a mark in front keeps it.
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        out += "\xEF\xBB\xBF";
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

QStringList load(const QString& path) {
    const std::optional<QByteArray> bytes = readOwnFile(path, kMaxBytes);
    return bytes ? decodeLines(*bytes) : QStringList();
}

void save(const QString& path, const QStringList& lines) {
    QString why;
    // AUTHINFO's scrambling is reversible: the file is the user's alone.
    if (!writeFileAtomically(path, encodeLines(lines), &why, FileAccess::OwnerOnly))
        throw FileOpenError("Cannot create file \"" + path.toStdString() + "\". " +
                            why.toStdString());
}

void normaliseLocalAlert(NameValueList& settings, bool (*fileExists)(const QString&)) {
    const NameValueList loaded = settings;
    bool ok = false;
    const int alert = loaded.value(u"localalert").toInt(&ok);
    if (ok && alert == 1) {
        settings.setValue(u"localalert", QStringLiteral("1"));
        const QString audio = loaded.value(u"localaudio");
        settings.setValue(u"localaudio", !audio.isEmpty() && fileExists(audio)
                                             ? audio
                                             : QStringLiteral("default"));
    } else {
        settings.setValue(u"localalert", QStringLiteral("0"));
        settings.setValue(u"localaudio", QString());
    }
}

} // namespace kovan::configfile
