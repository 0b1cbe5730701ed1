// Test entry of the programs that need a QCoreApplication (workers hand their results to its event
// loop).
#include "TestMain.h"

int main(int argc, char** argv) {
    return kovan::test::runTests(argc, argv, {.app = kovan::test::TestApp::Core});
}
