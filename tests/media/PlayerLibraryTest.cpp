// The decoding library as the client meets it: loaded from its folder on the first video, a
// missing or broken file failing that video with the failure texts, and the built library
// playing a clip with its sound going through the client's own audio device.
#include "media/PlayerLibrary.h"
#include "audio/AudioOutput.h"
#include "media/GrowingFile.h"
#include "media/Playback.h"
#include "media/VideoController.h"

#include "MediaTestSupport.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace kovan;

namespace {

struct BadFolder {
    const char* name;
    QByteArray library; // written as the library file; null: no file at all
};

class PlayerLibraryFailureTest : public ::testing::TestWithParam<BadFolder> {};

TEST_P(PlayerLibraryFailureTest, TheVideoFailsWithTheFailureTextsAndNothingIsFetched) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (!GetParam().library.isNull()) {
        QFile f(dir.filePath(PlayerLibrary::fileName()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().library);
    }
    VideoController controller;
    controller.setCacheDir(dir.filePath(QStringLiteral("cache")));
    controller.setPlayerFolder(dir.path());
    controller.loadVideo(QStringLiteral(R"({"url":"http://127.0.0.1:9/v.mp4","title":"周评"})"));
    EXPECT_EQ(controller.view().caption, QStringLiteral("加载视频失败......."));
    EXPECT_EQ(controller.view().timeText, QStringLiteral("Error"));
    EXPECT_EQ(controller.downloadThread(), nullptr);
    EXPECT_FALSE(controller.player().AVLibLoaded());
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerLibraryFailureTest,
                         ::testing::Values(BadFolder{"NoLibrary", QByteArray()},
                                           BadFolder{"NotALibrary", QByteArray("\x7f"
                                                                               "ELF junk")},
                                           BadFolder{"EmptyFile", QByteArray("")}),
                         [](const auto& info) { return std::string(info.param.name); });

// Counts what the library pushes into the client's mix.
class CountingChannel final : public AudioChannel {
public:
    CountingChannel(std::unique_ptr<AudioChannel> inner, std::atomic<qint64>& pushed)
        : m_inner(std::move(inner)), m_pushed(pushed) {}
    void push(const char* pcm, qsizetype bytes) override {
        m_pushed += bytes;
        m_inner->push(pcm, bytes);
    }
    void clear() override { m_inner->clear(); }
    void setPaused(bool paused) override { m_inner->setPaused(paused); }
    qint64 queuedBytes() const override { return m_inner->queuedBytes(); }
    qint64 playedFrames() const override { return m_inner->playedFrames(); }

private:
    std::unique_ptr<AudioChannel> m_inner;
    std::atomic<qint64>& m_pushed;
};

TEST(PlayerLibraryTest, TheBuiltLibraryPlaysAClipThroughTheClientsAudioOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray clip = test::shortClip(dir.path(), 1.5, 1000000);
    ASSERT_FALSE(clip.isEmpty());
    const QString path = dir.filePath(QStringLiteral("clip.mp4"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(clip);
    }
    auto file = std::make_shared<GrowingFile>();
    ASSERT_TRUE(file->openComplete(path));

    const PlayerApi* api = PlayerLibrary::load(PlayerLibrary::defaultFolder());
    ASSERT_NE(api, nullptr) << "built beside the tests: "
                            << PlayerLibrary::defaultFolder().toStdString();
    EXPECT_EQ(api, PlayerLibrary::load(QStringLiteral("/nonexistent"))) << "loaded once per run";

    std::mutex mutex;
    std::condition_variable cv;
    bool ended = false;
    qint64 duration = -1;
    std::atomic<int> frames{0};
    std::atomic<qint64> pushed{0};
    Playback::Events events;
    events.opened = [&](qint64 us, int, int) {
        std::lock_guard lock(mutex);
        duration = us;
    };
    events.failed = [&](const QString&) {
        std::lock_guard lock(mutex);
        ended = true;
        cv.notify_all();
    };
    events.position = [](qint64) {};
    events.frame = [&] { ++frames; };
    events.ended = [&] {
        std::lock_guard lock(mutex);
        ended = true;
        cv.notify_all();
    };
    Playback::Options options;
    options.openAudio = [&pushed]() -> std::unique_ptr<AudioChannel> {
        std::unique_ptr<AudioChannel> real = AudioOutput::instance().open();
        return real ? std::make_unique<CountingChannel>(std::move(real), pushed) : nullptr;
    };
    std::unique_ptr<Playback> playback(api->create(file, options, events));
    ASSERT_TRUE(playback->start());
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return ended; }));
    }
    EXPECT_NEAR(double(duration), 1.5e6, 1e5);
    EXPECT_GT(frames.load(), 0);
    EXPECT_TRUE(playback->hasAudio());
    // About 1.5 s of 44.1 kHz stereo 16-bit sound went through the client's mix.
    EXPECT_GT(pushed.load(), qint64(AudioChannel::kRate * AudioChannel::kBytesPerFrame));
    EXPECT_FALSE(playback->frame().isNull());
    playback.reset();
}

} // namespace

// Own entry: unlike the other media tests, this program must not hand in linked decoding code.
int main(int argc, char** argv) {
    return kovan::test::runTests(argc, argv, {.beforeApp = [] {
                                     if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
                                         qputenv("SDL_AUDIODRIVER", "dummy");
                                 }});
}
