// GoogleTest entry for the net tests: workers hand results to the GUI thread through its
// event loop, so the tests run with a QCoreApplication on the main thread.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
