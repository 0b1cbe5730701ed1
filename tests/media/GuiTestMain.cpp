// Test entry for the video window tests: they need an application object. Without a display
// they run on the offscreen platform; sound goes to SDL's dummy driver.
#include <QApplication>

#include "media/Playback.h"
#include "media/PlayerLibrary.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    // The decoding code is linked into the tests; the client loads it as a library.
    kovan::PlayerLibrary::useLinked(kovan::linkedPlayerApi());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
