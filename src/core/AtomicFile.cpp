#include "core/AtomicFile.h"

#include "core/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kovan {

namespace {

bool writeAtomically(const QString& path, const QByteArray& bytes,
                     std::optional<QFileDevice::Permissions> permissions, QString* error) {
    QSaveFile f(path);
    // Unbuffered, so a short write (full disk, size limit) shows up in write()'s count here;
    // buffered, Qt 6.4 lets the failed flush slip through commit() and renames a torn file.
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // On the temporary file, before a byte is in it; the rename keeps them.
    if (ok && permissions)
        ok = f.setPermissions(*permissions);
    ok = ok && f.write(bytes) == bytes.size() && f.error() == QFileDevice::NoError && f.commit();
    if (!ok && error)
        *error = f.errorString();
    return ok;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    return writeAtomically(path, bytes, std::nullopt, error);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         QFileDevice::Permissions permissions, QString* error) {
    return writeAtomically(path, bytes, permissions, error);
}

std::optional<QByteArray> readOwnFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists()) // nothing there, or a link to nothing
        return std::nullopt;
    const std::string name = path.toStdString();
    if (!info.isFile())
        throw FileOpenError("Cannot open file \"" + name + "\". It is not a regular file.");
    if (info.size() > maxBytes)
        throw FileOpenError("Cannot open file \"" + name + "\". It is larger than " +
                            std::to_string(maxBytes) + " bytes.");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw FileOpenError("Cannot open file \"" + name + "\". " + f.errorString().toStdString());
    // Read one byte past the limit: a file that grew after the check is refused, not cut.
    const QByteArray bytes = f.read(maxBytes + 1);
    if (f.error() != QFileDevice::NoError)
        throw FileOpenError("Cannot read file \"" + name + "\". " + f.errorString().toStdString());
    if (bytes.size() > maxBytes)
        throw FileOpenError("Cannot open file \"" + name + "\". It is larger than " +
                            std::to_string(maxBytes) + " bytes.");
    return bytes;
}

} // namespace kovan
