#pragma once

#include <QString>

namespace kovan {

// Where a video is cached: a file named after its address in the cache folder.
class VideoCache {
public:
    // The MD5 digest of `url` taken as ASCII (a character outside ASCII counts as "?"), as 32
    // upper-case hexadecimal digits.
    static QString fileName(const QString& url);
    // `cacheDir` + "/" + fileName(url).
    static QString filePath(const QString& cacheDir, const QString& url);
};

} // namespace kovan
