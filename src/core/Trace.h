#pragma once

#include <QString>

namespace kovan {

class LogWriter;

// Lifecycle events and the error texts the application-wide handler drops. Each goes
//  - to the log file, through the writer set with setTraceLog() (a line with a timestamp in
//    <dir>/logs; secrets scrubbed, see LogScrubber), and
//  - to stderr as "kovan: <text>" when the environment variable KOVAN_TRACE is set (tests and
//    debugging).
// Never put a settings value or a password into a trace text. Any thread; never waits for a
// file.
bool traceEnabled();
void trace(const QString& text);

// Routes trace lines to `writer` (null: to no file). The caller owns the writer and clears
// the route before stopping it.
void setTraceLog(LogWriter* writer);

} // namespace kovan
