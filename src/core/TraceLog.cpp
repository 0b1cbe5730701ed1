#include "core/TraceLog.h"

#include "core/Trace.h"

namespace kovan {

TraceLog::TraceLog(const QString& folder, LogWriter::Options options)
    : m_writer(folder, std::move(options)) {
    setTraceLog(&m_writer);
}

TraceLog::~TraceLog() {
    setTraceLog(nullptr);
    m_writer.stop();
}

} // namespace kovan
