// Loading a video: the download into the cache file, when playback starts, closing, a second
// video, addresses that are not played; and a whole play-through to the resting first picture.
#include "media/VideoController.h"
#include "media/GrowingFile.h"
#include "media/PlayTime.h"
#include "media/VideoCache.h"

#include "MediaTestSupport.h"
#include "TestServer.h"

#include <QFile>
#include <QJsonObject>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace kovan;
using kovan::test::Gate;
using kovan::test::TestServer;

namespace {

QString info(const QString& url, const QString& title = QStringLiteral("周评")) {
    return QStringLiteral("{\"url\":\"%1\",\"title\":\"%2\"}").arg(url, title);
}

// Serves `size` bytes with Content-Length in 64 KiB writes; after `pauseAt` bytes it waits at
// `gate` (when given). Counts connections that ended before the whole body went out.
struct PausingBody {
    PausingBody(size_t size_, size_t pauseAt_, Gate* gate_ = nullptr, QByteArray bytes_ = {},
                std::atomic<int>* cutOff_ = nullptr)
        : size(size_), pauseAt(pauseAt_), gate(gate_), bytes(std::move(bytes_)), cutOff(cutOff_) {}
    size_t size;
    size_t pauseAt;
    Gate* gate;
    QByteArray bytes; // empty: zeros
    std::atomic<int>* cutOff;

    void operator()(const httplib::Request&, httplib::Response& res) const {
        PausingBody self = *this;
        res.set_content_provider(
            size, "video/mp4", [self](size_t offset, size_t length, httplib::DataSink& sink) {
                if (self.gate && offset >= self.pauseAt)
                    self.gate->wait();
                size_t n = std::min<size_t>(length, 64 * 1024);
                if (offset < self.pauseAt)
                    n = std::min(n, self.pauseAt - offset);
                std::string chunk = self.bytes.isEmpty()
                                        ? std::string(n, '\0')
                                        : std::string(self.bytes.constData() + offset, n);
                const bool ok = sink.write(chunk.data(), chunk.size());
                if (!ok && self.cutOff)
                    ++*self.cutOff;
                return ok;
            });
    }
};

class VideoControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_controller = std::make_unique<VideoController>();
        m_controller->setCacheDir(m_dir.filePath(QStringLiteral("cache")));
        m_controller->setDownloadTimeoutsMs(5000, 5000);
        QObject::connect(m_controller.get(), &VideoController::barChanged,
                         [this] { m_seenDown.append(m_controller->mediaDown()); });
    }
    void TearDown() override {
        m_controller->shutdown();
        ASSERT_TRUE(test::waitUntil([this] { return !m_controller->downloadThread(); }, 20000));
        m_controller.reset();
    }
    bool downloadEnded() {
        return test::waitUntil([this] { return !m_controller->downloadThread(); }, 20000);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<VideoController> m_controller;
    QList<qint64> m_seenDown; // FMediaDown at each repaint of the bar
};

TEST_F(VideoControllerTest, PlaybackStartsAtTheFirstProgressPastHalfAMegabyteAndNotBefore) {
    Gate gate;
    TestServer server(PausingBody{600000, 524288, &gate});
    m_controller->loadVideo(info(server.root() + QStringLiteral("/v.mp4")));
    EXPECT_EQ(m_controller->view().caption, QStringLiteral("周评"));

    // Exactly 524288 bytes are in: the bar shows them, nothing plays yet.
    ASSERT_TRUE(test::waitUntil([this] { return m_controller->mediaDown() == 524288; }, 20000));
    test::pumpFor(300);
    EXPECT_EQ(m_controller->mediaSize(), 600000);
    EXPECT_EQ(m_controller->player().tag(), 0);
    EXPECT_FALSE(m_controller->player().isOpen());
    EXPECT_TRUE(m_controller->view().loadingShown);

    gate.open();
    ASSERT_TRUE(test::waitUntil([this] { return m_controller->player().tag() == 1; }, 20000));
    // Started by the first figure past the mark, at that figure.
    qint64 firstPast = -1;
    for (qint64 d : m_seenDown)
        if (d > VideoController::kStartBytes) {
            firstPast = d;
            break;
        }
    EXPECT_EQ(m_controller->startedAtBytes(), firstPast);
    EXPECT_FALSE(m_controller->view().loadingShown);
    EXPECT_FALSE(m_controller->view().playVisible);
    EXPECT_TRUE(m_controller->view().pauseVisible);
    ASSERT_TRUE(downloadEnded());
    EXPECT_EQ(m_controller->mediaDown(), 600000);
    EXPECT_EQ(QFileInfo(m_controller->cacheFile()).size(), 600000);
}

TEST_F(VideoControllerTest, ADownloadShorterThanTheMarkNeverStartsPlayback) {
    TestServer server(PausingBody{400000, 400000});
    m_controller->loadVideo(info(server.root() + QStringLiteral("/short.mp4")));
    ASSERT_TRUE(downloadEnded());
    test::pumpFor(100);
    EXPECT_EQ(m_controller->mediaDown(), 400000);
    EXPECT_EQ(m_controller->player().tag(), 0);
    EXPECT_EQ(m_controller->startedAtBytes(), -1);
    EXPECT_TRUE(m_controller->view().loadingShown);
}

TEST_F(VideoControllerTest, ClosingDuringADownloadEndsItAtItsNextProgressStep) {
    Gate gate;
    std::atomic<int> cutOff{0};
    TestServer server(PausingBody{2000000, 200000, &gate, {}, &cutOff});
    m_controller->loadVideo(info(server.root() + QStringLiteral("/long.mp4")));
    ASSERT_TRUE(test::waitUntil([this] { return m_controller->mediaDown() == 200000; }, 20000));
    ASSERT_TRUE(m_controller->downloadThread());

    m_controller->formClose();
    EXPECT_EQ(m_controller->view().timeText, QStringLiteral("停止"));
    EXPECT_EQ(m_controller->mediaDown(), 0);
    EXPECT_EQ(m_controller->mediaSize(), 0);
    EXPECT_EQ(m_controller->playDuat(), 0);
    EXPECT_EQ(m_controller->duration(), 0);
    // The server still holds the rest back: the download ends at a progress step all the same.
    ASSERT_TRUE(downloadEnded());
    gate.open();
    // The cache file keeps what arrived.
    EXPECT_EQ(QFileInfo(VideoCache::filePath(m_controller->cacheDir(),
                                             server.root() + QStringLiteral("/long.mp4")))
                  .size(),
              200000);
}

TEST_F(VideoControllerTest, ASecondVideoCancelsTheFirstDownload) {
    Gate never;
    std::atomic<int> cutOff{0};
    TestServer first(PausingBody{3000000, 100000, &never, {}, &cutOff});
    TestServer second(PausingBody{300000, 300000});
    m_controller->loadVideo(info(first.root() + QStringLiteral("/a.mp4")));
    ASSERT_TRUE(test::waitUntil([this] { return m_controller->mediaDown() == 100000; }, 20000));
    const QPointer<mediaDownThread> earlier = m_controller->downloadThread();
    ASSERT_TRUE(earlier);

    m_controller->loadVideo(info(second.root() + QStringLiteral("/b.mp4"), QStringLiteral("b")));
    EXPECT_NE(m_controller->downloadThread(), earlier.data());
    ASSERT_TRUE(downloadEnded());
    // The first download ends although its server still holds the body back, and it is
    // joined and freed once it has: nothing of it outlives the test.
    EXPECT_TRUE(test::waitUntil(
        [&] { return m_controller->downloadsRunning() == 0 && earlier.isNull(); }, 20000));
    never.open();
    // Only the second download's figures reached the window.
    EXPECT_EQ(m_controller->mediaSize(), 300000);
    EXPECT_EQ(m_controller->mediaDown(), 300000);
    // The first connection was dropped by the client: its next write fails.
    EXPECT_TRUE(test::waitUntil([&] { return cutOff.load() >= 1; }, 20000));
    EXPECT_EQ(m_controller->networkUrl(), second.root() + QStringLiteral("/b.mp4"));
}

TEST_F(VideoControllerTest, ExitEndsAStalledDownloadWithoutWaitingForItsTimeOut) {
    Gate never;
    TestServer server(PausingBody{3000000, 100000, &never});
    m_controller->setDownloadTimeoutsMs(60000, 60000);
    m_controller->loadVideo(info(server.root() + QStringLiteral("/stalled.mp4")));
    ASSERT_TRUE(test::waitUntil([this] { return m_controller->mediaDown() == 100000; }, 20000));
    const QPointer<mediaDownThread> download = m_controller->downloadThread();
    ASSERT_TRUE(download);

    m_controller->shutdown();
    EXPECT_EQ(m_controller->downloadThread(), nullptr);
    // Cancelled in its stall, long before the 60 s read time-out; then freed by the worker
    // table, not by the window.
    EXPECT_TRUE(test::waitUntil([&] { return download.isNull(); }, 20000));
    EXPECT_EQ(m_controller->downloadsRunning(), 0);
    never.open();
}

struct FailCase {
    const char* name;
    const char* info;
};

class VideoFailureTest : public VideoControllerTest,
                         public ::testing::WithParamInterface<FailCase> {};

TEST_P(VideoFailureTest, ShowsTheFailureTextsAndDownloadsNothing) {
    m_controller->loadVideo(QString::fromUtf8(GetParam().info));
    EXPECT_EQ(m_controller->view().caption, QStringLiteral("加载视频失败......."));
    EXPECT_EQ(m_controller->view().timeText, QStringLiteral("Error"));
    EXPECT_EQ(m_controller->downloadThread(), nullptr);
    EXPECT_EQ(m_controller->player().tag(), 0);
    EXPECT_FALSE(QDir(m_controller->cacheDir()).exists() &&
                 !QDir(m_controller->cacheDir()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, VideoFailureTest,
    ::testing::Values(FailCase{"empty url", R"({"url":"","title":"t"})"},
                      FailCase{"missing url", R"({"title":"t"})"},
                      FailCase{"not JSON", "gold-weekly.mp4"},
                      FailCase{"a local file", R"({"url":"file:///etc/passwd","title":"t"})"},
                      FailCase{"no scheme", R"({"url":"/filelist/video/a.mp4","title":"t"})"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return n;
    });

TEST_F(VideoControllerTest, AWholeClipPlaysToItsEndAndRestsPausedOnTheFirstPicture) {
    const QByteArray clip = test::shortClip(m_dir.path(), 3.0, 4000000);
    ASSERT_GT(clip.size(), 600000) << "the generated clip must pass the start mark";
    TestServer server(PausingBody{size_t(clip.size()), size_t(clip.size()), nullptr, clip});

    QList<FFPlayer::PlayState> states;
    QList<qint64> positions;
    QObject::connect(&m_controller->player(), &FFPlayer::stateChanged,
                     [&](FFPlayer::PlayState s) { states.append(s); });
    QObject::connect(&m_controller->player(), &FFPlayer::position,
                     [&](qint64 p) { positions.append(p); });
    m_controller->loadVideo(info(server.root() + QStringLiteral("/clip.mp4")));

    ASSERT_TRUE(test::waitUntil([&] { return states.contains(FFPlayer::psEnd); }, 60000));
    const qint64 duration = m_controller->duration();
    EXPECT_NEAR(double(duration), 3e6, 1e5);
    EXPECT_TRUE(states.startsWith(FFPlayer::psPlay));
    // The end reports the duration itself: play shown, stop disabled.
    ASSERT_TRUE(positions.contains(duration));
    EXPECT_GE(positions.size(), 10); // about every 100 ms of a 3 s clip
    // Then paused on the first picture.
    ASSERT_TRUE(test::waitUntil(
        [&] {
            return !positions.isEmpty() && positions.last() == 0 &&
                   states.indexOf(FFPlayer::psPause) > states.indexOf(FFPlayer::psEnd);
        },
        20000));
    EXPECT_TRUE(m_controller->player().paused());
    EXPECT_FALSE(m_controller->player().currentFrame().isNull());
    EXPECT_EQ(m_controller->player().currentFrame().format(), QImage::Format_RGB32);
    EXPECT_EQ(m_controller->view().timeText, QStringLiteral("00:00:00"));
    EXPECT_TRUE(m_controller->view().playVisible);
    EXPECT_TRUE(m_controller->view().playEnabled);
    EXPECT_FALSE(m_controller->view().pauseVisible);
    EXPECT_FALSE(m_controller->view().stopEnabled);
    EXPECT_FALSE(m_controller->view().stayOnTop);
    EXPECT_EQ(m_controller->playDuat(), 0);

    // Playing again from the first picture.
    m_controller->btnPlayClick();
    ASSERT_TRUE(test::waitUntil([&] { return states.last() == FFPlayer::psResume; }, 20000));
    EXPECT_TRUE(m_controller->view().stayOnTop);
    ASSERT_TRUE(test::waitUntil([&] { return m_controller->playDuat() > 300000; }, 20000));
    m_controller->btnStopClick();
    ASSERT_TRUE(test::waitUntil([&] { return m_controller->playDuat() == 0; }, 20000));
    EXPECT_TRUE(m_controller->player().paused());
}

TEST_F(VideoControllerTest, PlayingTheSameAddressAgainEmptiesTheCacheFileFirst) {
    TestServer server(PausingBody{300000, 300000});
    const QString url = server.root() + QStringLiteral("/same.mp4");
    const QString path = VideoCache::filePath(m_controller->cacheDir(), url);
    QDir().mkpath(m_controller->cacheDir());
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(900000, 'x'));
    }
    m_controller->loadVideo(info(url));
    ASSERT_TRUE(downloadEnded());
    EXPECT_EQ(QFileInfo(path).size(), 300000);
    EXPECT_EQ(server.count(), 1u);
}

} // namespace
