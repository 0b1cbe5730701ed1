#pragma once

#include "core/LogWriter.h"

#include <QString>

namespace kovan {

// The process's log: while it exists, trace() lines are also appended to the day's file in
// `folder` (<dir>/logs). The program entry keeps one from before start-up until after the
// workers have been joined; its end writes what is queued and joins the writer, so nothing
// of it runs during static destruction.
class TraceLog {
public:
    explicit TraceLog(const QString& folder, LogWriter::Options options = {});
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

private:
    LogWriter m_writer;
};

} // namespace kovan
