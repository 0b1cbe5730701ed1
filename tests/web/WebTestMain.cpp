// Test entry for programs that need the web engine: the bridge scheme is registered and GL
// contexts are shared before the application object exists; views are gone before it ends.

#include "core/ProgramState.h"
#include "TestMain.h"
#include "web/WebEngineSetup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

int main(int argc, char** argv) {
    using namespace kovan::test;
    return runTests(argc, argv,
                    {.app = TestApp::Widgets,
                     .offscreenUnlessSet = false,
                     .beforeApp =
                         [] {
                             // The page sandbox cannot start as root; any other
                             // account's run keeps it.
                             if (::geteuid() == 0)
                                 qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
                             if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
                                 static QTemporaryDir runtimeDir;
                                 QFile::setPermissions(runtimeDir.path(), QFile::ReadOwner |
                                                                              QFile::WriteOwner |
                                                                              QFile::ExeOwner);
                                 qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
                             }
                             if (qEnvironmentVariableIsEmpty("DISPLAY") &&
                                 qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                                 qputenv("QT_QPA_PLATFORM", "offscreen");
                             kovan::prepareWebEngine();
                         },
                     .afterApp =
                         [] {
                             // The views render as the client's do on this machine; the
                             // bridge serves the page server the tests point the program at.
                             kovan::applyRenderingPath();
                             kovan::serveBridgeFor(kovan::program().paths.endpoints.pageServer);
                         }});
}
