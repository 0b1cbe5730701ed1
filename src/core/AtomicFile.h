#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace kovan {

// Replaces `path` with `bytes` atomically: a temporary file in the same folder is written,
// flushed to disk and renamed over the old file. A crash, a full disk or a size limit never
// leaves a torn or empty file; on failure the old file is untouched and the temporary removed.
// Returns false on failure; `error` (optional) receives the reason.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// The same, the new file getting `permissions` before it takes the old one's place (so that
// it is never readable by others, not even for a moment).
bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         QFileDevice::Permissions permissions, QString* error = nullptr);

// Reads a whole file the client keeps (settings, history), but only a regular file (a symbolic
// link to one counts) of at most `maxBytes`: a FIFO would block for ever, a device such as
// /dev/zero never ends. nullopt when nothing exists at `path`; throws FileOpenError when the
// file is of another kind, too large or unreadable.
std::optional<QByteArray> readOwnFile(const QString& path, qint64 maxBytes);

} // namespace kovan
