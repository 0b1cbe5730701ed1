#include "audio/AlertAudio.h"
#include "audio/AudioOutput.h"
#include "audio/DefaultAlertSound.h"
#include "audio/SoundAlerts.h"
#include "audio/ThreadSNPS.h"
#include "core/ProgramState.h"
#include "net/rfdThread.h"
#include "threads/WorkerThread.h"

#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <mutex>

#include <condition_variable>

#include <algorithm>
#include <cmath>

using namespace kovan;
using kovan::test::TestServer;

namespace {

QByteArray toneWav(int ms, double freq = 440.0) {
    constexpr int rate = 8000;
    QList<qint16> samples;
    for (int i = 0; i < rate * ms / 1000; ++i)
        samples.append(qint16(8000 * std::sin(2 * 3.14159265 * freq * i / rate)));
    return makeWav(samples, rate);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// --- rfdThread ---

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        program().reset();
        ASSERT_TRUE(m_dir.isValid());
    }
    void pointAt(const TestServer& server) {
        program().paths.endpoints.pageServer = HostPort{server.host(), quint16(server.port())};
    }
    // Runs one download and waits for its handler; returns whether the handler ran.
    bool download(const QString& src, const QString& dst, bool* stored = nullptr) {
        bool ran = false;
        auto* w = new rfdThread(src, dst, program().paths.endpoints.pageServer.root());
        w->setTimeoutsMs(2000, 2000);
        w->setTerminationHandler(nullptr, [&](rfdThread* s) {
            ran = true;
            if (stored)
                *stored = s->stored();
        });
        w->start();
        return test::waitUntil([&] { return ran; });
    }
    QTemporaryDir m_dir;
};

TEST_F(DownloadTest, StoresTheBodyAndKeepsTheDoubleSlashPath) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string("RIFFdata\0\1", 10), "audio/wav");
    });
    pointAt(server);
    const QString dst = m_dir.filePath(QStringLiteral("a.wav"));
    bool stored = false;
    ASSERT_TRUE(download(QStringLiteral("/filelist/sound/a.wav"), dst, &stored));
    EXPECT_TRUE(stored);
    EXPECT_EQ(readFile(dst), QByteArray("RIFFdata\0\1", 10));
    ASSERT_EQ(server.count(), 1u);
    EXPECT_EQ(server.seen()[0].path, "//filelist/sound/a.wav");
}

TEST_F(DownloadTest, ReplacesAnExistingFile) {
    TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("new", "application/octet-stream");
    });
    pointAt(server);
    const QString dst = m_dir.filePath(QStringLiteral("b.wav"));
    writeFile(dst, "older and longer");
    ASSERT_TRUE(download(QStringLiteral("x"), dst));
    EXPECT_EQ(readFile(dst), QByteArray("new"));
}

enum class NoFile { Empty200, NotFound, Refused, Unwritable };

class DownloadFailureTest : public DownloadTest, public ::testing::WithParamInterface<NoFile> {};

TEST_P(DownloadFailureTest, WritesNothingAndStillRunsTheHandler) {
    const NoFile kind = GetParam();
    TestServer server([kind](const httplib::Request&, httplib::Response& res) {
        if (kind == NoFile::NotFound) {
            res.status = 404;
            res.set_content("missing", "text/plain");
        } else if (kind == NoFile::Empty200) {
            res.set_content("", "audio/wav");
        } else {
            res.set_content("data", "audio/wav");
        }
    });
    pointAt(server);
    if (kind == NoFile::Refused)
        program().paths.endpoints.pageServer =
            HostPort{QStringLiteral("127.0.0.1"), quint16(test::refusedPort())};
    QString dst = m_dir.filePath(QStringLiteral("c.wav"));
    if (kind == NoFile::Unwritable)
        dst = m_dir.filePath(QStringLiteral("no/such/dir/c.wav"));
    bool stored = true;
    ASSERT_TRUE(download(QStringLiteral("/filelist/sound/c.wav"), dst, &stored));
    EXPECT_FALSE(stored);
    EXPECT_FALSE(QFile::exists(dst));
}

INSTANTIATE_TEST_SUITE_P(NoFiles, DownloadFailureTest,
                         ::testing::Values(NoFile::Empty200, NoFile::NotFound, NoFile::Refused,
                                           NoFile::Unwritable));

// --- SoundAlerts ---

class SoundAlertsTest : public DownloadTest {
protected:
    void SetUp() override {
        DownloadTest::SetUp();
        m_alerts = std::make_unique<SoundAlerts>(m_dir.path() + QStringLiteral("/sound"),
                                                 program().paths.endpoints);
        m_alerts->setDownloadTimeoutsMs(2000, 2000);
        m_alerts->setPlayer([this](const QString& p) { m_played << p; });
    }
    QString soundPath(const QString& name) const {
        return m_dir.path() + QStringLiteral("/sound/") + name;
    }
    std::unique_ptr<SoundAlerts> m_alerts;
    QStringList m_played;
};

TEST_F(SoundAlertsTest, PresentSoundPlaysAtOnceWithoutARequest) {
    TestServer server;
    pointAt(server);
    QDir().mkpath(m_dir.path() + QStringLiteral("/sound"));
    writeFile(soundPath(QStringLiteral("alert.wav")), toneWav(50));
    EXPECT_EQ(m_alerts->audioPlay(QStringLiteral("alert.wav")), QStringLiteral("1"));
    EXPECT_EQ(m_played, QStringList{soundPath(QStringLiteral("alert.wav"))});
    test::pumpFor(100);
    EXPECT_EQ(server.count(), 0u);
}

TEST_F(SoundAlertsTest, MissingSoundIsFetchedStoredPlayedAndThenReused) {
    const QByteArray wav = toneWav(50);
    TestServer server([&wav](const httplib::Request&, httplib::Response& res) {
        res.set_content(wav.toStdString(), "audio/wav");
    });
    pointAt(server);
    QList<bool> fetched;
    QObject::connect(m_alerts.get(), &SoundAlerts::fetchFinished,
                     [&](const QString&, bool stored) { fetched << stored; });
    m_alerts->audioPlay(QStringLiteral("ding.wav"));
    EXPECT_TRUE(m_played.isEmpty()); // not before it has arrived
    ASSERT_TRUE(test::waitUntil([&] { return fetched.count() == 1; }));
    EXPECT_EQ(m_played, QStringList{soundPath(QStringLiteral("ding.wav"))});
    EXPECT_EQ(readFile(soundPath(QStringLiteral("ding.wav"))), wav);
    ASSERT_EQ(server.count(), 1u);
    EXPECT_EQ(server.seen()[0].path, "//filelist/sound/ding.wav");

    m_alerts->audioPlay(QStringLiteral("ding.wav"));
    EXPECT_EQ(m_played.size(), 2);
    test::pumpFor(100);
    EXPECT_EQ(server.count(), 1u);
}

TEST_F(SoundAlertsTest, SoundTheServerLacksStaysSilentAndStoresNothing) {
    for (int status : {404, 200}) {
        TestServer server([status](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content("", "audio/wav");
        });
        pointAt(server);
        QList<bool> fetched;
        const auto c = QObject::connect(m_alerts.get(), &SoundAlerts::fetchFinished,
                                        [&](const QString&, bool stored) { fetched << stored; });
        m_alerts->audioPlay(QStringLiteral("none.wav"));
        ASSERT_TRUE(test::waitUntil([&] { return fetched.count() == 1; })) << status;
        QObject::disconnect(c);
        EXPECT_FALSE(fetched.at(0));
        EXPECT_TRUE(m_played.isEmpty()) << status;
        EXPECT_FALSE(QFile::exists(soundPath(QStringLiteral("none.wav")))) << status;
    }
}

TEST_F(SoundAlertsTest, ABurstOfCallsIsBoundedAndFetchesOfOneNameAreCoalesced) {
    // A page loops over audioPlay: 5,000 calls of one missing name and of 5,000 names. The
    // server holds every reply until the test lets go, so nothing finishes meanwhile.
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    const QByteArray wav = toneWav(20);
    TestServer server([&](const httplib::Request&, httplib::Response& res) {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return release; });
        res.set_content(wav.toStdString(), "audio/wav");
    });
    pointAt(server);
    int fetched = 0;
    QObject::connect(m_alerts.get(), &SoundAlerts::fetchFinished, [&] { ++fetched; });
    for (int i = 0; i < 5000; ++i)
        m_alerts->audioPlay(QStringLiteral("same.wav"));
    EXPECT_EQ(m_alerts->fetchesRunning(), 1);
    for (int i = 0; i < 5000; ++i)
        m_alerts->audioPlay(QStringLiteral("n%1.wav").arg(i));
    EXPECT_EQ(m_alerts->fetchesRunning(), SoundAlerts::kMaxFetches);
    EXPECT_EQ(m_alerts->fetchesWaiting(), SoundAlerts::kMaxWaiting);
    EXPECT_LE(WorkerThread::liveCount(), SoundAlerts::kMaxFetches);
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    const int expected = SoundAlerts::kMaxFetches + SoundAlerts::kMaxWaiting;
    ASSERT_TRUE(test::waitUntil([&] { return fetched == expected; }));
    test::pumpFor(100);
    EXPECT_EQ(fetched, expected);
    EXPECT_EQ(int(server.count()), expected);
    EXPECT_EQ(m_played.count(soundPath(QStringLiteral("same.wav"))), 1);
    EXPECT_EQ(m_alerts->fetchesRunning(), 0);
}

TEST_F(SoundAlertsTest, NamesWithPathsAreIgnored) {
    TestServer server;
    pointAt(server);
    for (const QString& name : {QStringLiteral("../config.dat"), QStringLiteral("a/b.wav"),
                                QStringLiteral("a\\b.wav"), QStringLiteral(".."), QString()})
        EXPECT_EQ(m_alerts->audioPlay(name), QStringLiteral("1"));
    test::pumpFor(100);
    EXPECT_EQ(server.count(), 0u);
    EXPECT_TRUE(m_played.isEmpty());
}

TEST_F(SoundAlertsTest, SwitchClicksToggleTheTagAndTheIcons) {
    QList<bool> changed;
    QObject::connect(m_alerts.get(), &SoundAlerts::switchChanged, [&](bool on) { changed << on; });
    EXPECT_TRUE(m_alerts->isOn());
    EXPECT_EQ(m_alerts->audopenimgTag(), 1);
    EXPECT_EQ(m_alerts->audopenimgClick(), QStringLiteral("1"));
    EXPECT_FALSE(m_alerts->isOn());
    EXPECT_EQ(m_alerts->audopenimgTag(), 0);
    EXPECT_EQ(m_alerts->audcloseimgClick(), QStringLiteral("1"));
    EXPECT_TRUE(m_alerts->isOn());
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed, (QList<bool>{false, true}));
}

// --- playback (SDL dummy driver; silence without a device is covered elsewhere) ---

struct Played {
    bool done = false;
    AlertAudio::Result result = AlertAudio::Result::NoDevice;
    bool usedDefault = false;
};

ThreadSNPS* startSound(const QString& path, Played* out) {
    auto* w = new ThreadSNPS(path);
    w->setTerminationHandler(nullptr, [out](ThreadSNPS* s) {
        out->done = true;
        out->result = s->result();
        out->usedDefault = s->usedDefault();
    });
    w->start();
    return w;
}

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        if (qgetenv("SDL_AUDIODRIVER") != "dummy" && qgetenv("SDL_AUDIODRIVER") != "disk")
            qputenv("SDL_AUDIODRIVER", "dummy");
    }
    QTemporaryDir m_dir;
};

TEST_F(PlaybackTest, AnAlertPlaysWhileTheVideoHoldsTheDevice) {
    // The dummy driver has a single device: the video's channel and the alert share it.
    std::unique_ptr<AudioOutput::Channel> video = AudioOutput::instance().open();
    ASSERT_TRUE(video);
    const QByteArray silence(AudioOutput::kRate * AudioOutput::kBytesPerFrame, '\0');
    video->push(silence.constData(), silence.size());
    const QString path = m_dir.filePath(QStringLiteral("short.wav"));
    writeFile(path, toneWav(150));
    Played p;
    startSound(path, &p);
    ASSERT_TRUE(test::waitUntil([&] { return p.done; }));
    EXPECT_EQ(p.result, AlertAudio::Result::Finished);
    // The video's samples were taken alongside.
    EXPECT_GT(video->playedFrames(), 0);
    EXPECT_LT(video->queuedBytes(), silence.size());
}

TEST_F(PlaybackTest, APausedChannelKeepsItsSamples) {
    std::unique_ptr<AudioOutput::Channel> channel = AudioOutput::instance().open();
    ASSERT_TRUE(channel);
    channel->setPaused(true);
    const QByteArray pcm(4096, '\1');
    channel->push(pcm.constData(), pcm.size());
    QThread::msleep(100);
    EXPECT_EQ(channel->queuedBytes(), pcm.size());
    channel->setPaused(false);
    ASSERT_TRUE(test::waitUntil([&] { return channel->queuedBytes() == 0; }));
    EXPECT_EQ(channel->playedFrames(), pcm.size() / AudioOutput::kBytesPerFrame);
}

TEST_F(PlaybackTest, DefaultSoundIsAValidShortWav) {
    const QByteArray& wav = defaultAlertWav();
    ASSERT_GT(wav.size(), 44);
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(wav.mid(8, 8), QByteArray("WAVEfmt "));
}

TEST_F(PlaybackTest, PlaysAFileToItsEnd) {
    const QString path = m_dir.filePath(QStringLiteral("t.wav"));
    writeFile(path, toneWav(200));
    Played p;
    QElapsedTimer t;
    t.start();
    startSound(path, &p);
    ASSERT_TRUE(test::waitUntil([&] { return p.done; }));
    EXPECT_EQ(p.result, AlertAudio::Result::Finished);
    EXPECT_FALSE(p.usedDefault);
    EXPECT_GE(t.elapsed(), 100); // it waited for the sound rather than returning at once
}

TEST_F(PlaybackTest, UnplayableFilesPlayTheDefaultSound) {
    const QString text = m_dir.filePath(QStringLiteral("x.wav"));
    writeFile(text, "this is not a wave file");
    for (const QString& path : {text, m_dir.filePath(QStringLiteral("missing.wav"))}) {
        Played p;
        const int before = AlertAudio::instance().soundsStarted();
        startSound(path, &p);
        ASSERT_TRUE(test::waitUntil([&] { return p.done; }));
        EXPECT_EQ(p.result, AlertAudio::Result::Finished);
        EXPECT_TRUE(p.usedDefault);
        EXPECT_EQ(AlertAudio::instance().soundsStarted(), before + 1);
    }
}

TEST_F(PlaybackTest, ANewerSoundStopsTheOnePlaying) {
    const QString longPath = m_dir.filePath(QStringLiteral("long.wav"));
    const QString shortPath = m_dir.filePath(QStringLiteral("short.wav"));
    writeFile(longPath, toneWav(5000));
    writeFile(shortPath, toneWav(100));
    Played first;
    Played second;
    const int before = AlertAudio::instance().soundsStarted();
    startSound(longPath, &first);
    ASSERT_TRUE(test::waitUntil([&] { return AlertAudio::instance().soundsStarted() > before; }));
    const int started = AlertAudio::instance().soundsStarted();
    test::pumpFor(100);
    startSound(shortPath, &second);
    // The long sound gives way well before its five seconds.
    ASSERT_TRUE(test::waitUntil([&] { return first.done && second.done; }, 4000));
    EXPECT_EQ(first.result, AlertAudio::Result::Superseded);
    EXPECT_EQ(second.result, AlertAudio::Result::Finished);
    EXPECT_EQ(AlertAudio::instance().soundsStarted(), started + 1);
}

int threadsOfThisProcess() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

TEST_F(PlaybackTest, ABurstOfSoundsPlaysOnOneThreadAndEndsWithTheNewest) {
    // A page that calls audioPlay in a loop: one sound thread at a time, the one playing cut
    // off, and of the calls made meanwhile only the last one plays after it.
    const QString dir = m_dir.path() + QStringLiteral("/sound");
    QDir().mkpath(dir);
    writeFile(dir + QStringLiteral("/long.wav"), toneWav(5000));
    writeFile(dir + QStringLiteral("/last.wav"), toneWav(100));
    SoundAlerts alerts(dir, program().paths.endpoints);
    const int before = AlertAudio::instance().soundsStarted();
    const int threadsBefore = threadsOfThisProcess();
    int mostThreads = threadsBefore;
    for (int i = 0; i < 500; ++i) {
        alerts.audioPlay(QStringLiteral("long.wav"));
        mostThreads = std::max(mostThreads, threadsOfThisProcess());
    }
    alerts.audioPlay(QStringLiteral("last.wav"));
    // The first sound thread (plus at most the audio driver's own thread) and no more.
    EXPECT_LE(mostThreads, threadsBefore + 2);
    EXPECT_TRUE(alerts.playing());
    ASSERT_TRUE(test::waitUntil([&] { return !alerts.playing(); }, 4000));
    // Well before the long sound's five seconds: it was cut off, or never started when the
    // burst came before its thread did. Then the newest played; everything between was dropped.
    const int started = AlertAudio::instance().soundsStarted() - before;
    EXPECT_GE(started, 1);
    EXPECT_LE(started, 2);
}

} // namespace
