// Test entry for programs that need the web engine: the bridge scheme is registered and GL
// contexts are shared before the application object exists; views are gone before it ends.

#include "web/WebEngineSetup.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        static QTemporaryDir runtimeDir;
        QFile::setPermissions(runtimeDir.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kovan::prepareWebEngine();
    QApplication app(argc, argv);
    kovan::applyRenderingPath(); // the views render as the client's do on this machine
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
