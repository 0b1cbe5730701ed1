// Sound playback where no audio driver exists (as on a build machine): silence, at once.
#include "audio/AlertAudio.h"
#include "audio/AudioOutput.h"
#include "audio/SoundBackend.h"
#include "audio/ThreadSNPS.h"

#include "TestMain.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

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

// The sound library missing or broken beside the client: every sound is silent, as without
// a device, and nothing waits.
struct BrokenLibrary {
    const char* name;
    QByteArray bytes; // written as the library file; null: no file
};

class SoundLibraryMissingTest : public ::testing::TestWithParam<BrokenLibrary> {};

TEST_P(SoundLibraryMissingTest, SoundsAreSilentAndNothingWaits) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (!GetParam().bytes.isNull()) {
        QFile f(dir.filePath(SoundBackend::fileName()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().bytes);
    }
    EXPECT_EQ(SoundBackend::loadFrom(dir.path()), nullptr);
    EXPECT_EQ(SoundBackend::get(), nullptr) << "decided once for the run";
    EXPECT_EQ(AudioOutput::instance().open(), nullptr);
    EXPECT_EQ(AlertAudio::instance().playBytesToEnd(QByteArray("RIFF....WAVE")),
              AlertAudio::Result::NoDevice);
    EXPECT_EQ(AlertAudio::instance().soundsStarted(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SoundLibraryMissingTest,
                         ::testing::Values(BrokenLibrary{"NoFile", QByteArray()},
                                           BrokenLibrary{"NotALibrary", QByteArray("\x7f"
                                                                                   "ELF junk")}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

int main(int argc, char** argv) {
    return kovan::test::runTests(argc, argv, {.beforeApp = [] {
                                     // Whatever the environment says: a driver that does not
                                     // exist.
                                     qputenv("SDL_AUDIODRIVER", "kovan-no-such-driver");
                                 }});
}
