#include "media/VideoCache.h"

#include <QCryptographicHash>
#include <QList>

namespace kovan {

QString VideoCache::fileName(const QString& url) {
    QByteArray ascii;
    ascii.reserve(url.size());
    for (const char32_t c : url.toUcs4())
        ascii.append(c < 0x80 ? char(c) : '?');
    return QString::fromLatin1(
        QCryptographicHash::hash(ascii, QCryptographicHash::Md5).toHex().toUpper());
}

QString VideoCache::filePath(const QString& cacheDir, const QString& url) {
    return cacheDir + u'/' + fileName(url);
}

} // namespace kovan
