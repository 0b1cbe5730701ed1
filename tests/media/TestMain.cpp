// GoogleTest entry for the display-free media tests: workers and the player hand their events
// to the main thread's event loop. Sound goes to SDL's dummy driver unless told otherwise.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
