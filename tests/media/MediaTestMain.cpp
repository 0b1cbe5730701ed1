// Test entry of the media programs: sound goes to SDL's dummy driver unless told otherwise, and
// the decoding code linked into the tests stands in for the library the client loads.
// media_gui_test builds it with KOVAN_MEDIA_TEST_WIDGETS (the window needs widgets).
#include "TestMain.h"

#include "media/Playback.h"
#include "media/PlayerLibrary.h"

#include <QtGlobal>

int main(int argc, char** argv) {
    using namespace kovan::test;
#ifdef KOVAN_MEDIA_TEST_WIDGETS
    constexpr TestApp kApp = TestApp::Widgets;
#else
    constexpr TestApp kApp = TestApp::Core;
#endif
    return runTests(
        argc, argv,
        {.app = kApp,
         .beforeApp =
             [] {
                 if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
                     qputenv("SDL_AUDIODRIVER", "dummy");
             },
         .afterApp = [] { kovan::PlayerLibrary::useLinked(kovan::linkedPlayerApi()); }});
}
