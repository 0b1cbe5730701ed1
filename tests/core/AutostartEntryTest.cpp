// The start-at-login entry: where it goes, its Exec line as a launcher reads it back, the file
// written, checked by desktop-file-validate and removed.

#include "core/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace kovan {
namespace {

// The Exec value of an entry's text, as written in the file.
QString execValue(const QByteArray& text) {
    for (const QString& line : QString::fromUtf8(text).split(u'\n'))
        if (line.startsWith(QStringLiteral("Exec=")))
            return line.mid(5);
    return {};
}

// Reads an Exec value back as a launcher does: the file's string escapes first, then the
// quoting rule, then "%%". Independent of the writer, so a quoting fault shows as a wrong
// argument.
QStringList launcherArguments(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
        } else {
            unescaped += value[i];
        }
    }
    QStringList args;
    QString current;
    bool inQuotes = false, started = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (inQuotes) {
            if (c == u'\\' && i + 1 < unescaped.size())
                current += unescaped[++i];
            else if (c == u'"')
                inQuotes = false;
            else
                current += c;
        } else if (c == u' ') {
            if (started)
                args << current;
            current.clear();
            started = false;
        } else if (c == u'"') {
            inQuotes = started = true;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        args << current;
    for (QString& a : args)
        a.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return args;
}

struct ExecCase {
    const char* program;
    const char* dir;
    const char* exec; // the Exec value expected in the file
};

std::ostream& operator<<(std::ostream& os, const ExecCase& c) {
    return os << c.program << " --dir " << c.dir;
}

class AutostartExec : public ::testing::TestWithParam<ExecCase> {};

TEST_P(AutostartExec, QuotedAndReadBack) {
    const ExecCase& c = GetParam();
    const QStringList command =
        AutostartEntry::commandFor(QString::fromUtf8(c.program), QString::fromUtf8(c.dir));
    const AutostartEntry entry(QStringLiteral("/nowhere/kovan.desktop"), command);
    const QString exec = execValue(entry.text());
    EXPECT_EQ(exec, QString::fromUtf8(c.exec));
    EXPECT_EQ(launcherArguments(exec), command);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AutostartExec,
    ::testing::Values(
        ExecCase{"/opt/kovan/kovan", "", "/opt/kovan/kovan --autostart"},
        ExecCase{"/opt/kovan/kovan", "/home/li/kovan/",
                 "/opt/kovan/kovan --autostart --dir /home/li/kovan"},
        ExecCase{"/home/li/my apps/kovan", "", "\"/home/li/my apps/kovan\" --autostart"},
        ExecCase{"/opt/kovan/kovan", "/srv/li's \"data\"",
                 "/opt/kovan/kovan --autostart --dir \"/srv/li's \\\\\"data\\\\\"\""},
        ExecCase{"/opt/$HOME/kovan", "", "\"/opt/\\\\$HOME/kovan\" --autostart"},
        ExecCase{"/opt/100%/kovan", "/d/%u", "/opt/100%%/kovan --autostart --dir /d/%%u"},
        ExecCase{"/opt/a\\b/kovan", "", "\"/opt/a\\\\\\\\b/kovan\" --autostart"},
        ExecCase{"/opt/`x`;(y)/kovan", "/a&b|c",
                 "\"/opt/\\\\`x\\\\`;(y)/kovan\" --autostart --dir \"/a&b|c\""},
        ExecCase{"/opt/策略/kovan", "/数据 1", "/opt/策略/kovan --autostart --dir \"/数据 1\""}));

struct PathCase {
    const char* xdgConfigHome;
    const char* path;
};

std::ostream& operator<<(std::ostream& os, const PathCase& c) {
    return os << "XDG_CONFIG_HOME=" << c.xdgConfigHome;
}

class AutostartPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(AutostartPath, FollowsXdgConfigHome) {
    EXPECT_EQ(AutostartEntry::pathFor(QString::fromUtf8(GetParam().xdgConfigHome),
                                      QStringLiteral("/home/li")),
              QString::fromUtf8(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    Homes, AutostartPath,
    ::testing::Values(PathCase{"", "/home/li/.config/autostart/kovan.desktop"},
                      PathCase{"/home/li/conf", "/home/li/conf/autostart/kovan.desktop"},
                      PathCase{"/home/li/conf/", "/home/li/conf/autostart/kovan.desktop"},
                      PathCase{"conf", "/home/li/.config/autostart/kovan.desktop"},
                      PathCase{"./x/../conf", "/home/li/.config/autostart/kovan.desktop"},
                      PathCase{"/tmp/a b", "/tmp/a b/autostart/kovan.desktop"}));

TEST(AutostartEntry, TheEntryStartsAfterThePanel) {
    const QString text = QString::fromUtf8(
        AutostartEntry(QStringLiteral("/x/kovan.desktop"), {QStringLiteral("/k")}).text());
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    for (const char* line : {"Type=Application", "Name=朗鸥策略", "Icon=kovan", "Terminal=false",
                             "X-KDE-autostart-after=panel"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    const QStringList delay = lines.filter(QStringLiteral("X-GNOME-Autostart-Delay="));
    ASSERT_EQ(delay.size(), 1);
    EXPECT_GT(delay[0].section(u'=', 1).toInt(), 0);
}

TEST(AutostartEntry, WrittenIntoAMissingFolderThenRemoved) {
    QTemporaryDir home;
    const QString path =
        AutostartEntry::pathFor(home.filePath(QStringLiteral("conf")), home.path());
    const AutostartEntry entry(
        path, AutostartEntry::commandFor(QStringLiteral("/opt/k k/kovan"), home.path()));
    EXPECT_FALSE(entry.exists());
    QString error;
    ASSERT_TRUE(entry.write(&error)) << error.toStdString();
    EXPECT_TRUE(entry.exists());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), entry.text());
    file.close();
    // Written again over itself: still the one file.
    ASSERT_TRUE(entry.write(&error)) << error.toStdString();
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"kovan.desktop"});
    EXPECT_TRUE(entry.remove(&error));
    EXPECT_FALSE(entry.exists());
    EXPECT_TRUE(entry.remove(&error)) << "nothing to remove is no failure";
}

TEST(AutostartEntry, AFolderThatCannotBeMadeIsAnError) {
    QTemporaryDir home;
    QFile blocker(home.filePath(QStringLiteral("conf")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder would go
    blocker.close();
    const AutostartEntry entry(AutostartEntry::pathFor(blocker.fileName(), home.path()),
                               {QStringLiteral("/k")});
    QString error;
    EXPECT_FALSE(entry.write(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(entry.exists());
}

TEST(AutostartEntry, DesktopFileValidateAcceptsIt) {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate (desktop-file-utils, scripts/deps)";
    QTemporaryDir home;
    for (const char* program : {"/opt/kovan/kovan", "/opt/my \"k\" $1 100% a\\b/kovan"}) {
        const AutostartEntry entry(home.filePath(QStringLiteral("autostart/kovan.desktop")),
                                   AutostartEntry::commandFor(QString::fromUtf8(program),
                                                              QStringLiteral("/srv/it's here")));
        ASSERT_TRUE(entry.write());
        QProcess validate;
        validate.start(validator, {entry.path()});
        ASSERT_TRUE(validate.waitForFinished(30000));
        const QByteArray said = validate.readAllStandardOutput() + validate.readAllStandardError();
        EXPECT_EQ(validate.exitCode(), 0) << said.toStdString();
        EXPECT_FALSE(said.contains("error")) << program << ": " << said.toStdString();
    }
}

} // namespace
} // namespace kovan
