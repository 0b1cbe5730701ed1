#include "TestMain.h"

#include "threads/WorkerThread.h"
#include "WorkerCheck.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace kovan::test {

int runTests(int argc, char** argv, const TestMainOptions& options) {
    if (options.app != TestApp::Core && options.offscreenUnlessSet &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (options.beforeApp)
        options.beforeApp();
    std::unique_ptr<QCoreApplication> app;
    switch (options.app) {
    case TestApp::Core:
        app = std::make_unique<QCoreApplication>(argc, argv);
        break;
    case TestApp::Gui:
        app = std::make_unique<QGuiApplication>(argc, argv);
        break;
    case TestApp::Widgets:
        app = std::make_unique<QApplication>(argc, argv);
        break;
    }
    if (options.afterApp)
        options.afterApp();
    ::testing::InitGoogleTest(&argc, argv);
    // Owned by GoogleTest from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new WorkerCheck);
    int rc = RUN_ALL_TESTS();
    // A worker of a test that was skipped or ended early, or one made outside any test.
    reapWorkers();
    if (const int left = WorkerThread::count(); left > 0) {
        std::fprintf(stderr, "%d worker(s) still there after the last test\n", left);
        rc = 1;
    }
    return rc;
}

} // namespace kovan::test
