#pragma once

#include <QByteArray>
#include <QString>

namespace kovan {

// Replaces `path` with `bytes` atomically: a temporary file in the same folder is written,
// flushed to disk and renamed over the old file. A crash, a full disk or a size limit never
// leaves a torn or empty file; on failure the old file is untouched and the temporary removed.
// Returns false on failure; `error` (optional) receives the reason.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace kovan
