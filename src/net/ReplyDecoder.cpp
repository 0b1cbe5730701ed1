#include "net/ReplyDecoder.h"

#include <QList>
#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace kovan {

namespace {

// Converts with iconv into UTF-16LE; an invalid or truncated sequence costs one byte and
// gives U+FFFD. Returns false when iconv does not know `charset`.
bool decodeWithIconv(const QByteArray& body, const char* charset, QString* out) {
    iconv_t cd = iconv_open("UTF-16LE", charset);
    if (cd == iconv_t(-1))
        return false;
    QString result;
    result.reserve(body.size());
    char16_t buffer[1024];
    char* in = const_cast<char*>(body.constData());
    size_t inLeft = size_t(body.size());
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        result.append(reinterpret_cast<const QChar*>(buffer),
                      qsizetype((sizeof(buffer) - outLeft) / sizeof(char16_t)));
        if (rc == size_t(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: skip one byte and mark the damage.
            result.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    *out = std::move(result);
    return true;
}

QString decodeWithQt(const QByteArray& body, QStringConverter::Encoding encoding,
                     QStringConverter::Flags flags = QStringConverter::Flag::Default) {
    QStringDecoder decoder(encoding, flags);
    return decoder.decode(body);
}

} // namespace

QByteArray charsetOf(const QByteArray& contentType) {
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray param = parts[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        if (eq < 0 || param.left(eq).trimmed().toLower() != "charset")
            continue;
        QByteArray value = param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value.trimmed().toLower();
    }
    return {};
}

QString decodeReplyBody(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray cs = charsetOf(contentType);
    if (cs == "utf-8" || cs == "utf8")
        return decodeWithQt(body, QStringConverter::Utf8);
    if (cs == "utf-16") {
        // A mark decides the byte order; without one, little-endian.
        if (body.startsWith("\xFE\xFF"))
            return decodeWithQt(body.mid(2), QStringConverter::Utf16BE,
                                QStringConverter::Flag::Stateless);
        return decodeWithQt(body.startsWith("\xFF\xFE") ? body.mid(2) : body,
                            QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    }
    if (cs == "utf-16le")
        return decodeWithQt(body, QStringConverter::Utf16LE);
    if (cs == "utf-16be")
        return decodeWithQt(body, QStringConverter::Utf16BE);

    const char* iconvName = nullptr;
    if (cs == "gbk" || cs == "gb2312" || cs == "cp936" || cs == "x-gbk")
        iconvName = "GBK";
    else if (cs == "gb18030")
        iconvName = "GB18030";
    else if (cs == "big5")
        iconvName = "BIG5";
    QString text;
    if (iconvName && decodeWithIconv(body, iconvName, &text))
        return text;
    return QString::fromLatin1(body);
}

} // namespace kovan
