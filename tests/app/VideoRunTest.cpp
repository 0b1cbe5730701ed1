// A video seen from outside: the real client runs against a loopback page server whose signal
// page calls playVideo as it loads, for a short clip the same server sends slowly. The video
// window starts playing before the download has finished and plays the clip to its end.

#include "ClientRun.h"

#include "core/SharedBlock.h"
#include "TestServer.h"

#include "ClipMaker.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <unistd.h>

using namespace kovan;

namespace {

QByteArray makeClip(const QTemporaryDir& dir) {
    clip::ClipSpec shape;
    shape.width = 320;
    shape.height = 180;
    shape.seconds = 3.0;
    shape.videoBitRate = 2500000; // well past the 512 KiB at which playback starts
    const QString path = dir.filePath(QStringLiteral("clip.mp4"));
    if (!clip::writeClip(shape, path.toStdString()).empty())
        return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(VideoRun, PageStartsAVideoThatPlaysWhileItDownloadsAndToItsEnd) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray clipBytes = makeClip(dir);
    ASSERT_GT(clipBytes.size(), 600 * 1024);

    const QString block = QStringLiteral("KVNVIDEO-%1").arg(::getpid());
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    std::atomic<bool> served{false};
    // The clip's last piece is held back until the client says it plays (at most 30 s): a
    // client that waited for the whole file would only open it after that wait, and a slow
    // machine cannot make a client that plays early look like one that waits.
    std::mutex gateMutex;
    std::condition_variable gate;
    bool released = false;
    const auto release = [&] {
        {
            std::lock_guard lock(gateMutex);
            released = true;
        }
        gate.notify_all();
    };
    test::TestServer pages([&](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/video/clip.mp4") {
            // 64 KiB every 50 ms, the last piece once the gate is open.
            res.set_content_provider(size_t(clipBytes.size()), "video/mp4",
                                     [&](size_t offset, size_t length, httplib::DataSink& sink) {
                                         const size_t n = std::min<size_t>(length, 64 * 1024);
                                         std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                         const bool last = offset + n == size_t(clipBytes.size());
                                         if (last) {
                                             std::unique_lock lock(gateMutex);
                                             gate.wait_for(lock, std::chrono::seconds(30),
                                                           [&] { return released; });
                                             served = true;
                                         }
                                         sink.write(clipBytes.constData() + offset, n);
                                         return true;
                                     });
        } else if (req.path.rfind("/tools/signlist/", 0) == 0) {
            const std::string page =
                "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>QZEARVersion</title>"
                "</head><body><script>window.external.FCB('playVideo', JSON.stringify({title: "
                "'周评', url: location.origin + '/video/clip.mp4'}));</script></body></html>";
            res.set_content(page, "text/html; charset=utf-8");
        } else if (req.path.rfind("/tools/", 0) == 0) {
            res.set_content("<html><body>QZEARVersion</body></html>", "text/html");
        } else {
            res.status = 404;
        }
    });

    ProgramFolder folder;
    ClientRun client(folder, block);
    client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(pages.port())});
    const bool started = client.waitForText(QStringLiteral("kovan: video: opened"), 60000);
    const bool servedWhenOpened = served;
    release();
    const bool ended = started && client.waitForText(QStringLiteral("kovan: video: ended"), 60000);
    client.endRun();
    const QString trace = client.traceText();

    ASSERT_TRUE(started) << trace.toStdString();
    EXPECT_FALSE(servedWhenOpened) << "playback should start while the download goes on";
    static const QRegularExpression at(QStringLiteral(R"(video: playback starts at (\d+) bytes)"));
    const auto m = at.match(trace);
    ASSERT_TRUE(m.hasMatch()) << trace.toStdString();
    EXPECT_GT(m.captured(1).toLongLong(), 524288);
    EXPECT_LT(m.captured(1).toLongLong(), clipBytes.size());
    static const QRegularExpression opened(QStringLiteral(R"(video: opened, (\d+) us)"));
    const auto d = opened.match(trace);
    ASSERT_TRUE(d.hasMatch()) << trace.toStdString();
    EXPECT_NEAR(d.captured(1).toDouble() / 1e6, 3.0, 0.2);
    EXPECT_TRUE(ended) << trace.toStdString();
    EXPECT_FALSE(trace.contains(QStringLiteral("video: cannot play"))) << trace.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
