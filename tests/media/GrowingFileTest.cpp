// The cache file read while it is written: reads wait at the moving end, the size answer is
// the announced total, and the waits end on an interrupt, the end of the download or a stall.
#include "media/GrowingFile.h"
#include "media/GrowingFileIo.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace kovan;

namespace {

class GrowingFileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_file = std::make_shared<GrowingFile>();
        ASSERT_TRUE(m_file->create(m_dir.filePath(QStringLiteral("cache"))));
        m_io = std::make_unique<GrowingFileIo>(m_file, 0);
        ASSERT_TRUE(m_io->open());
    }
    int read(std::vector<uint8_t>& buf) {
        return avio_read(m_io->context(), buf.data(), int(buf.size()));
    }

    QTemporaryDir m_dir;
    std::shared_ptr<GrowingFile> m_file;
    std::unique_ptr<GrowingFileIo> m_io;
};

TEST_F(GrowingFileIoTest, AReadAtTheMovingEndWaitsForTheDownload) {
    m_file->announce(8);
    ASSERT_TRUE(m_file->append("abcd", 4));
    std::atomic<bool> wrote{false};
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        wrote = true;
        m_file->append("efgh", 4);
        m_file->finish(true);
    });
    std::vector<uint8_t> buf(8);
    // avio_read fills the whole buffer unless the stream ends: the second half waits.
    EXPECT_EQ(read(buf), 8);
    EXPECT_TRUE(wrote.load());
    EXPECT_EQ(std::string(buf.begin(), buf.end()), "abcdefgh");
    writer.join();
    EXPECT_LT(read(buf), 0); // then the end
}

TEST_F(GrowingFileIoTest, TheSizeIsTheAnnouncedTotalNotWhatArrived) {
    m_file->append("ab", 2);
    EXPECT_LT(avio_size(m_io->context()), 0); // nothing announced, download running
    m_file->announce(1000);
    EXPECT_EQ(avio_size(m_io->context()), 1000);
}

TEST_F(GrowingFileIoTest, AWaitingReadEndsOnInterrupt) {
    m_file->append("ab", 2);
    std::thread interrupter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        m_io->interrupt();
    });
    std::vector<uint8_t> buf(4);
    const int got = read(buf);
    interrupter.join();
    // The two bytes that were there, then the interrupt stops the wait.
    EXPECT_EQ(got, 2);
    EXPECT_EQ(m_io->context()->error, AVERROR_EXIT);
}

TEST_F(GrowingFileIoTest, AFailedDownloadEndsTheStreamAtWhatArrived) {
    m_file->announce(100);
    m_file->append("abc", 3);
    m_file->finish(false);
    std::vector<uint8_t> buf(10);
    EXPECT_EQ(read(buf), 3);
    EXPECT_TRUE(avio_feof(m_io->context()));
}

TEST_F(GrowingFileIoTest, AStallEndsTheWaitAfterTheReadTimeout) {
    m_io = std::make_unique<GrowingFileIo>(m_file, 150);
    ASSERT_TRUE(m_io->open());
    std::vector<uint8_t> buf(4);
    EXPECT_EQ(read(buf), AVERROR(ETIMEDOUT));
}

TEST_F(GrowingFileIoTest, AClosedWriteSideRefusesFurtherBytes) {
    EXPECT_TRUE(m_file->append("ab", 2));
    m_file->close();
    EXPECT_FALSE(m_file->append("cd", 2));
    EXPECT_EQ(m_file->committed(), 2);
}

TEST(GrowingFileTest, CreatingEmptiesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c"));
    {
        GrowingFile first;
        ASSERT_TRUE(first.create(path));
        first.append("0123456789", 10);
        first.finish(true);
    }
    GrowingFile second;
    ASSERT_TRUE(second.create(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(second.committed(), 0);
}

} // namespace
