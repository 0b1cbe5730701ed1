#include "WorkerCheck.h"

#include "threads/WorkerThread.h"
#include "WaitUntil.h"

#include <QCoreApplication>

namespace kovan::test {

WorkerReap reapWorkers(int limitMs) {
    WorkerReap reap;
    reap.found = WorkerThread::count();
    if (reap.found == 0)
        return reap;
    WorkerThread::stopAll();
    // Ended workers are freed by their end calls, which the event loop delivers; workers
    // owned by a parent stay listed until the parent goes, so only running ones are waited for.
    waitUntil([] { return WorkerThread::liveCount() == 0; }, limitMs);
    QCoreApplication::processEvents();
    reap.stuck = WorkerThread::liveNames();
    if (reap.stuck.isEmpty())
        WorkerThread::reapAll();
    return reap;
}

void WorkerCheck::OnTestEnd(const ::testing::TestInfo& test) {
    const WorkerReap reap = reapWorkers();
    // End events reach this listener before the result printer: the failure counts for `test`.
    if (!reap.stuck.isEmpty())
        ADD_FAILURE() << test.test_suite_name() << "." << test.name()
                      << " left workers that do not end when asked: "
                      << reap.stuck.join(QStringLiteral(", ")).toStdString();
}

} // namespace kovan::test
