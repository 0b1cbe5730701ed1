#include "core/AtomicFile.h"

#include <QSaveFile>

namespace kovan {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    // Unbuffered, so a short write (full disk, size limit) shows up in write()'s count here;
    // buffered, Qt 6.4 lets the failed flush slip through commit() and renames a torn file.
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                    f.write(bytes) == bytes.size() && f.error() == QFileDevice::NoError &&
                    f.commit();
    if (!ok && error)
        *error = f.errorString();
    return ok;
}

} // namespace kovan
