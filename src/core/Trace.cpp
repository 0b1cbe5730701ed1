#include "core/Trace.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace kovan {

bool traceEnabled() {
    static const bool enabled = std::getenv("KOVAN_TRACE") != nullptr;
    return enabled;
}

void trace(const QString& text) {
    if (!traceEnabled())
        return;
    const QByteArray line = "kovan: " + text.toUtf8() + "\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace kovan
