#include "core/ExitProcedure.h"

#include "core/AppRunningFlag.h"
#include "core/Lifecycle.h"
#include "core/Trace.h"

#include <QCoreApplication>

namespace kovan {

ExitProcedure::ExitProcedure(const Lifecycle& lifecycle, AppRunningFlag& appRunning,
                             QObject* parent)
    : QObject(parent), m_lifecycle(lifecycle), m_appRunning(appRunning),
      m_quit([] { QCoreApplication::quit(); }) {
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ExitProcedure::poll);
}

void ExitProcedure::run() {
    if (m_started)
        return;
    m_started = true;
    trace(QStringLiteral("exit procedure"));
    m_lifecycle.runExit(ExitStep::RemoveTrayIcon);
    m_appRunning.set(false);
    m_lifecycle.runExit(ExitStep::StopWorkers);
    m_lifecycle.runExit(ExitStep::HideWindows);
    m_since.start();
    // The first look comes from the event loop too: termination handlers of workers that
    // ended meanwhile are queued there.
    m_timer.start();
}

void ExitProcedure::poll() {
    const QStringList pending = m_lifecycle.pendingWaits();
    const bool timedOut = !pending.isEmpty() && m_since.elapsed() >= m_deadlineMs;
    if (!pending.isEmpty() && !timedOut)
        return;
    m_timer.stop();
    m_finished = true;
    if (timedOut)
        trace(QStringLiteral("exit: still running after the deadline: ") +
              pending.join(QStringLiteral(", ")));
    Q_EMIT done(timedOut);
    if (m_quit)
        m_quit();
}

} // namespace kovan
