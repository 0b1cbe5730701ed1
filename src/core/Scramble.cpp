#include "core/Scramble.h"

#include "core/Errors.h"

#include <QFile>
#include <QVarLengthArray>

namespace kovan {

namespace {

QVarLengthArray<quint8, 32> keyBytes(const QString& key) {
    const QString& k = key.isEmpty() ? QString::fromUtf16(kScrambleKey) : key;
    QVarLengthArray<quint8, 32> bytes;
    for (QChar c : k)
        bytes.append(static_cast<quint8>(c.unicode() & 0xFF));
    return bytes;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

QString scrambleStr(const QString& plain, const QString& key) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    const auto k = keyBytes(key);
    QString out(plain.size() * 2, Qt::Uninitialized);
    QChar* o = out.data();
    qsizetype i = 0;
    for (QChar c : plain) {
        const quint8 b = k[i] ^ static_cast<quint8>(c.unicode() & 0xFF);
        *o++ = QChar(digits[b >> 4]);
        *o++ = QChar(digits[b & 0xF]);
        i = (i + 1) % k.size();
    }
    return out;
}

QString unscrambleStr(const QString& scrambled, const QString& key) {
    const auto k = keyBytes(key);
    const qsizetype m = scrambled.size() / 2;
    QString out(m, Qt::Uninitialized);
    qsizetype i = 0;
    for (qsizetype j = 0; j < m; ++j) {
        const int hi = hexDigit(scrambled[2 * j]);
        const int lo = hexDigit(scrambled[2 * j + 1]);
        if (hi < 0 || lo < 0)
            throw ConversionError("'" + scrambled.mid(2 * j, 2).toStdString() +
                                  "' is not a valid hexadecimal value");
        out[j] = QChar(static_cast<char16_t>(((hi << 4) | lo) ^ k[i]));
        i = (i + 1) % k.size();
    }
    return out;
}

QString clientKeyFromFile(const QString& machineIdPath) {
    QFile f(machineIdPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(8);
    if (head.size() < 8)
        return {};
    bool ok = false;
    const uint serial = head.toUInt(&ok, 16);
    return ok ? QString::number(serial) : QString();
}

QString getClientKey() {
    return clientKeyFromFile(QStringLiteral("/etc/machine-id"));
}

} // namespace kovan
