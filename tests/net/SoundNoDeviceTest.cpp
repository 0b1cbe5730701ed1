// Sound playback where no audio driver exists (as on a build machine): silence, at once.
#include "net/AlertAudio.h"
#include "net/ThreadSNPS.h"

#include "TestServer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

TEST(SoundNoDeviceTest, PlayingEndsSilentlyWithoutADevice) {
    bool done = false;
    AlertAudio::Result result = AlertAudio::Result::Finished;
    auto* w = new ThreadSNPS(QStringLiteral("/nonexistent/alert.wav"));
    w->setTerminationHandler(nullptr, [&](ThreadSNPS* s) {
        done = true;
        result = s->result();
    });
    w->start();
    ASSERT_TRUE(test::waitUntil([&] { return done; }, 5000));
    EXPECT_EQ(result, AlertAudio::Result::NoDevice);
    EXPECT_EQ(AlertAudio::instance().soundsStarted(), 0);
}

} // namespace

int main(int argc, char** argv) {
    // Whatever the environment says: a driver that does not exist.
    qputenv("SDL_AUDIODRIVER", "kovan-no-such-driver");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
