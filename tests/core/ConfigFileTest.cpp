#include "core/ConfigFile.h"

#include "core/Errors.h"
#include "core/ProgramState.h"

#include "Files.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;

namespace {

QByteArray utf16(const QString& s, QStringConverter::Encoding e) {
    QStringEncoder enc(e);
    return enc(s);
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

} // namespace

TEST(ConfigFile, DecodesByMarkAndLineEnds) {
    const QString text = QStringLiteral("a=甲\r\nb=乙\nc=丙\rd=");
    const QStringList expected{"a=甲", "b=乙", "c=丙", "d="};
    const DecodeCase cases[] = {
        {"utf8 with mark", "\xEF\xBB\xBF" + text.toUtf8(), expected},
        {"utf8 without mark", text.toUtf8(), expected},
        {"utf16le", "\xFF\xFE" + utf16(text, QStringConverter::Utf16LE), expected},
        {"utf16be", "\xFE\xFF" + utf16(text, QStringConverter::Utf16BE), expected},
        {"gb18030 without mark", QByteArray("a=\xBC\xD7\r\nb=\xD2\xD2\nc=\xB1\xFB\rd="), expected},
        {"empty", QByteArray(), {}},
        {"trailing line end adds no line", "x=1\r\n", {"x=1"}},
        {"blank lines kept", "x=1\r\n\r\ny=2", {"x=1", "", "y=2"}},
        {"lf then cr", "x\n\ry", {"x", "", "y"}},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(configfile::decodeLines(c.bytes), c.lines) << c.name;
}

TEST(ConfigFile, EncodesUtf8WithoutMarkEachLineEndingInCrLf) {
    EXPECT_EQ(configfile::encodeLines({"a=1", "名=值"}), QByteArray("a=1\r\n") + "名=值\r\n");
    EXPECT_EQ(configfile::encodeLines({}), QByteArray());
}

TEST(ConfigFile, AFirstLineBeginningWithTheMarkCharacterSurvivesSaves) {
    // Found by fuzzing: every save used to drop one leading U+FEFF.
    const QStringList lines{QString(QChar(0xFEFF)) + QString(QChar(0xFEFF)) + "a=1", "b=2"};
    QStringList again = lines;
    for (int i = 0; i < 3; ++i)
        again = configfile::decodeLines(configfile::encodeLines(again));
    EXPECT_EQ(again, lines);
    EXPECT_FALSE(configfile::encodeLines({"a=1"}).startsWith("\xEF\xBB\xBF"));
}

TEST(ConfigFile, SaveThenLoadRoundTripsAndMissingFileIsEmpty) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.dat");
    EXPECT_TRUE(configfile::load(path).isEmpty());
    const QStringList lines{"localalert=1", "AUTHINFO=0A1B", "no equals here", "中文=是"};
    configfile::save(path, lines);
    EXPECT_EQ(configfile::load(path), lines);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    // No temporary file is left next to it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"config.dat"});
}

TEST(ConfigFile, TheSavedFileIsTheUsersAlone) {
    // AUTHINFO's scrambling is reversible: whoever reads the file has the password.
    QTemporaryDir dir;
    const QString path = dir.filePath("config.dat");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("AUTHINFO=0A1B\r\n");
    old.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    configfile::save(path, {"AUTHINFO=0A1B", "AUTHKEY=s1"});
    EXPECT_EQ(test::modeOf(path), 0600);
    EXPECT_EQ(configfile::load(path), (QStringList{"AUTHINFO=0A1B", "AUTHKEY=s1"}));
}

TEST(ConfigFile, FailedSaveKeepsOldFileAndMemory) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    QTemporaryDir dir;
    ProgramState state;
    state.paths.programDir = dir.path() + "/";
    configfile::save(state.settings.filePath(), {"old=1"});
    state.settings.setLines({"new=2"});
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0500), 0);
    EXPECT_THROW(state.settings.save(), FileOpenError);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(configfile::load(state.settings.filePath()), QStringList{"old=1"});
    EXPECT_EQ(state.settings.value(u"new"), "2");
}

TEST(ConfigFile, FailedSaveIntoMissingFolderThrowsAndKeepsMemory) {
    // Works as root too: the folder does not exist, so nothing can be created.
    ProgramState state;
    state.paths.programDir = "/nonexistent-kovan-folder/";
    state.settings.setLines({"new=2"});
    EXPECT_THROW(state.settings.save(), FileOpenError);
    EXPECT_EQ(state.settings.value(u"new"), "2");
}

TEST(ConfigFile, UnreadableFileThrows) {
    QTemporaryDir dir;
    // A folder where the file should be cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("config.dat"));
    EXPECT_THROW(configfile::load(dir.filePath("config.dat")), FileOpenError);
}

TEST(ConfigFile, OnlyARegularFileOfSaneSizeIsRead) {
    // A FIFO would block start-up for ever, /dev/zero would grow the process without end: both
    // are refused at once, as is a file past the limit. A link to a regular file is fine, a link
    // to nothing is a missing file.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_THROW(configfile::load(fifo), FileOpenError);

    const QString zero = dir.filePath("zero.dat");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    EXPECT_THROW(configfile::load(zero), FileOpenError);

    const QString big = dir.filePath("big.dat");
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(configfile::kMaxBytes + 1));
    f.close();
    EXPECT_THROW(configfile::load(big), FileOpenError);
    ASSERT_TRUE(f.resize(configfile::kMaxBytes));
    EXPECT_NO_THROW(configfile::load(big));

    const QString real = dir.filePath("real.dat");
    const QString link = dir.filePath("link.dat");
    configfile::save(real, {"a=1"});
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(configfile::load(link), QStringList{"a=1"});
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere.dat"), dir.filePath("dangling.dat")));
    EXPECT_TRUE(configfile::load(dir.filePath("dangling.dat")).isEmpty());
}

namespace {

bool onlyExisting(const QString& path) {
    return path == "/exists/alert.wav";
}

struct NormaliseCase {
    const char* name;
    QStringList before;
    QStringList after;
};

} // namespace

TEST(ConfigFile, NormalisesLocalAlertKeys) {
    const NormaliseCase cases[] = {
        {"alert on, missing audio file",
         {"LocalAlert=1", "localaudio=/gone.wav"},
         {"localalert=1", "localaudio=default"}},
        {"alert on, existing audio file",
         {"localalert=1", "localaudio=/exists/alert.wav"},
         {"localalert=1", "localaudio=/exists/alert.wav"}},
        {"alert on, no audio line",
         {"localalert=1", "x=y"},
         {"localalert=1", "x=y", "localaudio=default"}},
        {"alert 2 means off", {"localalert=2", "localaudio=/exists/alert.wav"}, {"localalert=0"}},
        {"not a number means off", {"localalert=yes", "k=v"}, {"localalert=0", "k=v"}},
        {"missing keys", {"k=v"}, {"k=v", "localalert=0"}},
    };
    for (const NormaliseCase& c : cases) {
        NameValueList settings(c.before);
        configfile::normaliseLocalAlert(settings, onlyExisting);
        EXPECT_EQ(settings.lines(), c.after) << c.name;
    }
}
