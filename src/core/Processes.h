#pragma once

#include <QString>

namespace kovan {

// Ends (SIGKILL) every process whose executable name — the basename of /proc/PID/exe, or
// /proc/PID/comm — upper-cased equals the upper-cased file-name part of `path` or the
// upper-cased whole `path`. Processes that cannot be signalled are skipped; the calling
// process is never ended. Returns whether the last signal sent succeeded.
bool killProcessesByName(const QString& path);

// Starts `program` detached (no shell) with the single argument "1" in `workingDir`.
bool startCompanion(const QString& program, const QString& workingDir);

// Moves a file, replacing the target; works across file systems.
bool shellMoveFile(const QString& from, const QString& to);

} // namespace kovan
