#pragma once

#include <functional>

namespace kovan::test {

// The application object a test program needs: an event loop for workers' results (Core),
// text and pictures (Gui), widgets and the web engine (Widgets).
enum class TestApp { Core, Gui, Widgets };

struct TestMainOptions {
    TestApp app = TestApp::Core;
    // Gui and Widgets: the offscreen platform unless QT_QPA_PLATFORM is set.
    bool offscreenUnlessSet = true;
    // Before the application object exists (environment, engine set-up) and once it does.
    std::function<void()> beforeApp = {};
    std::function<void()> afterApp = {};
};

// The body of every test program's main: the application object, GoogleTest, and the worker
// check after each test (WorkerCheck). Fails when a worker is left once the tests are done.
int runTests(int argc, char** argv, const TestMainOptions& options);

} // namespace kovan::test
