// What a member's terminal shows of a normal run: the real client on the suite's X server (as
// a desktop runs it) against a loopback page server whose signal page plays a sound as it
// loads. Without KOVAN_TRACE nothing at all, also where SDL goes through ALSA on a machine
// without a sound card; with it, the client's trace and the notes of the engine and libasound.

#include "ClientRun.h"

#include "core/SharedBlock.h"
#include "TestServer.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;

namespace {

const char* const kSoundPage = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>QZEARVersion</title></head><body>
<p>signals</p>
<script>
window.external.FCB('audioPlay', 'quiet.wav');
window.addEventListener('load', () => { new Image().src = '/tools/page-loaded.png'; });
</script>
</body></html>)HTML";

const char* const kAlsaConfig = "/usr/share/alsa/alsa.conf";

// libasound's configuration handed to the client through a FIFO (ALSA_CONFIG_PATH): its
// opening for reading tells that the sound device is being opened through ALSA; once that
// call has begun, whatever libasound reports of it is written before the client can end (the
// exit joins the sound worker). Later readings get a plain copy of the same file.
class AlsaConfigGate {
public:
    AlsaConfigGate() : m_path(m_dir.path() + "/alsa.conf") {
        m_ready = ::mkfifo(QFile::encodeName(m_path).constData(), 0600) == 0;
    }
    QString path() const { return m_path; }
    bool ready() const { return m_ready; }

    // Waits until the client opens the configuration, then hands it over.
    bool waitForRead() {
        int fd = -1;
        const bool opened = test::waitUntil(
            [&] {
                fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NONBLOCK);
                return fd >= 0; // ENXIO until a reader has it open
            },
            60000);
        if (!opened)
            return false;
        // The plain copy first, so a second reading never waits on the FIFO.
        const QString copy = m_path + ".copy";
        QFile::copy(QString::fromLatin1(kAlsaConfig), copy);
        ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(m_path).constData());
        QFile config(QString::fromLatin1(kAlsaConfig));
        const QByteArray text = config.open(QIODevice::ReadOnly) ? config.readAll() : QByteArray();
        ::fcntl(fd, F_SETFL, 0); // blocking writes: the reader takes it all
        qsizetype done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        ::close(fd);
        return done == text.size();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_ready = false;
};

class QuietRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "no X server (the suite runs under xvfb-run)";
        ASSERT_TRUE(publishSessionBlock(m_block, R"({"UID":12,"sessid":"abc"})"));
        ASSERT_TRUE(QDir(m_folder.path()).mkpath("sound"));
        // Not a WAV: the client plays its own chime instead, through the same device.
        m_folder.writeFile("sound/quiet.wav", "not a wav");
    }
    void TearDown() override {
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
        killAll("zrs");
    }

    // A client on the X server against the page server, as a desktop starts it.
    void start(ClientRun& client, const QString& audioDriver) {
        client.useDisplay(qEnvironmentVariable("DISPLAY"));
        client.setEnv("SDL_AUDIODRIVER", audioDriver);
        client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(m_pages.port())});
    }

    // The signal page tells its load by a request for a picture (a run without KOVAN_TRACE
    // traces no page loads).
    bool waitForLoadedPage() {
        return test::waitUntil(
            [this] {
                for (const test::SeenRequest& r : m_pages.seen()) {
                    if (r.path == "/tools/page-loaded.png")
                        return true;
                }
                return false;
            },
            60000);
    }

    QString m_block = QStringLiteral("KVNQUIET-%1").arg(::getpid());
    ProgramFolder m_folder;
    test::TestServer m_pages{[](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/tools/signlist/", 0) == 0)
            res.set_content(kSoundPage, "text/html; charset=utf-8");
        else if (req.path.rfind("/tools/", 0) == 0)
            res.set_content("<html><body>QZEARVersion</body></html>", "text/html");
        else
            res.status = 404;
    }};
};

} // namespace

TEST_F(QuietRun, ANormalRunPrintsNothing) {
    const struct { const char* audioDriver; } cases[] = {{"dummy"}, {"alsa"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.audioDriver);
        AlsaConfigGate gate;
        ASSERT_TRUE(gate.ready());
        const bool alsa = QByteArray(c.audioDriver) == "alsa";
        ClientRun client(m_folder, m_block);
        client.withoutTrace();
        if (alsa)
            client.setEnv("ALSA_CONFIG_PATH", gate.path());
        start(client, QString::fromLatin1(c.audioDriver));
        ASSERT_TRUE(waitForLoadedPage()) << client.traceText().toStdString();
        if (alsa) {
            ASSERT_TRUE(gate.waitForRead()) << "the sound never reached ALSA";
        }
        ASSERT_TRUE(client.endRun());
        EXPECT_EQ(client.exitCode(), 0);
        EXPECT_EQ(client.traceText(), "") << client.traceText().toStdString();
        EXPECT_EQ(client.standardOutput(), "") << client.standardOutput().toStdString();
        EXPECT_TRUE(m_folder.clientLog().contains(" process ends\n"));
        publishSessionBlock(m_block, R"({"UID":12,"sessid":"abc"})"); // ended with the run
    }
}

TEST_F(QuietRun, WithTraceTheTraceAndTheEnginesNotesShow) {
    AlsaConfigGate gate;
    ASSERT_TRUE(gate.ready());
    ClientRun client(m_folder, m_block);
    client.setEnv("ALSA_CONFIG_PATH", gate.path());
    start(client, "alsa");
    ASSERT_TRUE(client.waitForTrace("start-up done", 60000)) << client.traceText().toStdString();
    ASSERT_TRUE(gate.waitForRead()) << "the sound never reached ALSA";
    EXPECT_TRUE(client.waitForText("ALSA lib ", 30000)) << client.traceText().toStdString();
    ASSERT_TRUE(client.endRun());
    const QString trace = client.traceText();
    EXPECT_TRUE(trace.contains("kovan: page loaded: ")) << trace.toStdString();
    EXPECT_TRUE(trace.contains("qt.webenginecontext: ")) << trace.toStdString();
}

TEST_F(QuietRun, TheUsersOwnLoggingRulesWin) {
    ClientRun client(m_folder, m_block);
    client.withoutTrace();
    client.setEnv("QT_LOGGING_RULES", "qt.webenginecontext.info=true;kovan.startup.notes=true");
    start(client, "dummy");
    ASSERT_TRUE(waitForLoadedPage()) << client.traceText().toStdString();
    EXPECT_TRUE(client.waitForText("qt.webenginecontext: ", 30000))
        << client.traceText().toStdString();
    ASSERT_TRUE(client.endRun());
    const QString text = client.traceText();
    EXPECT_FALSE(text.contains("kovan: ")) << text.toStdString();
    // As root the suite turns the page sandbox off, and the engine says so.
    if (!qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        EXPECT_TRUE(text.contains("Sandboxing disabled by user.")) << text.toStdString();
    }
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
