// GoogleTest entry for the display-free media tests: workers and the player hand their events
// to the main thread's event loop. Sound goes to SDL's dummy driver unless told otherwise.
#include <QCoreApplication>

#include "media/Playback.h"
#include "media/PlayerLibrary.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    // The decoding code is linked into the tests; the client loads it as a library.
    kovan::PlayerLibrary::useLinked(kovan::linkedPlayerApi());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
