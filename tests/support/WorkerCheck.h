#pragma once

#include <QStringList>

#include <gtest/gtest.h>

namespace kovan::test {

// What ending the workers of a test found.
struct WorkerReap {
    int found = 0;     // workers not yet freed when the reaping began (running or ended)
    QStringList stuck; // class names of those that did not end within the limit
};

// Ends every worker of the process the way the client's exit does: asks each to stop, turns
// the event loop until each has ended and its end has been handled, then joins and frees what
// is left. Workers that have not ended after `limitMs` are named in `stuck` and left running
// (joining them would hang the test program). Main thread only.
WorkerReap reapWorkers(int limitMs = 10000);

// For test programs whose tests start workers: after each test, once its fixture is gone, the
// workers are reaped, and the test fails when one of them would not end. The test mains
// install it, and fail the program when a worker is still there after the last test.
class WorkerCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo& test) override;
};

} // namespace kovan::test
