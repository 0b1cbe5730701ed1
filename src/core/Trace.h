#pragma once

#include <QString>

namespace kovan {

// Lifecycle events and dropped error texts, printed to stderr as "kovan: <text>" only when the
// environment variable KOVAN_TRACE is set (tests and debugging). Any thread.
bool traceEnabled();
void trace(const QString& text);

} // namespace kovan
