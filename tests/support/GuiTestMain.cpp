// Test entry of the programs that need a QGuiApplication (text and pictures; offscreen unless a
// platform is set).
#include "TestMain.h"

int main(int argc, char** argv) {
    return kovan::test::runTests(argc, argv, {.app = kovan::test::TestApp::Gui});
}
