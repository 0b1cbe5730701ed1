// Requests when the HTTP library beside the client is missing or broken: each fails at once
// with the reason, and nothing crashes or waits. The library is decided once per run, so these
// cases live in a program of their own.
#include "audio/SoundBackend.h"
#include "core/ClientLibrary.h"
#include "net/CurlApi.h"
#include "net/HttpClient.h"

#include "TestServer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovan;

namespace {

struct BrokenHttpLibrary {
    const char* name;
    // Written as the library file; null: no file. "sound": a real library of the client's
    // without the HTTP entry.
    QByteArray bytes;
};

class HttpLibraryMissingTest : public ::testing::TestWithParam<BrokenHttpLibrary> {};

TEST_P(HttpLibraryMissingTest, RequestsFailAtOnceWithTheReason) {
    test::TestServer server([](const httplib::Request&, httplib::Response& res) {
        res.set_content("pong", "text/plain");
    });

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(CurlLibrary::fileName());
    if (GetParam().bytes == "sound") {
        const QString sound = clientLibraryFolder() + u'/' + SoundBackend::fileName();
        ASSERT_TRUE(QFile::copy(sound, target)) << sound.toStdString();
    } else if (!GetParam().bytes.isNull()) {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().bytes);
    }
    EXPECT_EQ(CurlLibrary::loadFrom(dir.path()), nullptr);
    EXPECT_EQ(CurlLibrary::get(), nullptr) << "decided once for the run";

    for (int i = 0; i < 2; ++i) {
        HttpClient client;
        const HttpReply reply = client.get(server.root() + QStringLiteral("/ping"));
        EXPECT_FALSE(reply.ok);
        EXPECT_EQ(reply.status, 0);
        EXPECT_TRUE(reply.body.isEmpty());
        EXPECT_EQ(reply.error, QStringLiteral("the HTTP library could not be loaded"));
    }
    EXPECT_TRUE(server.seen().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, HttpLibraryMissingTest,
                         ::testing::Values(BrokenHttpLibrary{"NoFile", QByteArray()},
                                           BrokenHttpLibrary{"NotALibrary", QByteArray("\x7f"
                                                                                       "ELF junk")},
                                           BrokenHttpLibrary{"NoEntry", QByteArray("sound")}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
