#include "core/Trace.h"

#include "core/LogScrubber.h"
#include "core/LogWriter.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace kovan {

namespace {

std::mutex g_logMutex;
LogWriter* g_log = nullptr; // under g_logMutex

} // namespace

bool traceEnabled() {
    static const bool enabled = std::getenv("KOVAN_TRACE") != nullptr;
    return enabled;
}

void trace(const QString& text) {
    if (traceEnabled()) {
        const QByteArray line = "kovan: " + text.toUtf8() + "\n";
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
    }
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (g_log)
        g_log->append(logScrubber().scrub(text));
}

void setTraceLog(LogWriter* writer) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log = writer;
}

} // namespace kovan
