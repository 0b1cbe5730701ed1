#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

#include <functional>

namespace kovan::test {

// Runs `body` in a child process whose files may not grow past `limitBytes` (a full disk, as
// far as a write can tell; it holds for root too) and returns the child's exit code, -1 when
// it did not end normally.
int runWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body);

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString& path);

// The permission bits of a file (st_mode & 0777), -1 when there is none.
int fileMode(const QString& path);

} // namespace kovan::test
