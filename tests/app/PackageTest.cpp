// The Debian package made from the install rules: its file list, control fields, desktop
// entry, icons and AppStream description; and its client, unpacked as if installed, running
// with a per-user program folder. The PackageBuild fixture makes the package.

#include "core/KovanVersion.h"
#include "core/SharedBlock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString kPackageDir = QStringLiteral(KOVAN_PACKAGE_DIR);

struct ToolRun {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// key=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    for (const QString& line : QString::fromUtf8(readFile(path)).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

QByteArray gunzip(const QString& path) {
    const ToolRun r = runTool(tool("gzip"), {"-dc", path});
    return r.code == 0 ? r.out : QByteArray();
}

// A tool's output split in lines, for failure messages and line checks.
QStringList linesOf(const QByteArray& text) {
    return QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts);
}

class Package : public ::testing::Test {
protected:
    void SetUp() override {
        if (QFile::exists(kPackageDir + "/SKIPPED"))
            GTEST_SKIP() << "no package: " << readFile(kPackageDir + "/SKIPPED").toStdString();
        if (tool("dpkg-deb").isEmpty())
            GTEST_SKIP() << "dpkg-deb is missing (Debian package dpkg)";
        const QStringList debs = QDir(kPackageDir).entryList({"kovan_*.deb"}, QDir::Files);
        ASSERT_EQ(debs.size(), 1) << "the PackageBuild fixture makes it in "
                                  << kPackageDir.toStdString();
        m_deb = kPackageDir + u'/' + debs.first();
    }

    // The package's files under a fresh folder, as dpkg would install them under "/".
    QString unpack() {
        EXPECT_TRUE(m_root.isValid());
        const ToolRun r = runTool(tool("dpkg-deb"), {"-x", m_deb, m_root.path()});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return m_root.path();
    }

    QString m_deb;
    QTemporaryDir m_root;
};

class InstalledClient : public Package {};

// WM_CLASS values ("instance", "class") of the top-level windows of process `pid` on the X
// server.
QStringList windowClassesOf(qint64 pid) {
    static const QRegularExpression topLevel(R"(^\s*(0x[0-9a-f]+) .*\(("[^"]*" "[^"]*")\))");
    QStringList classes;
    const ToolRun tree = runTool(tool("xwininfo"), {"-root", "-tree"});
    for (const QString& line : QString::fromUtf8(tree.out).split(u'\n')) {
        const QRegularExpressionMatch m = topLevel.match(line);
        if (!m.hasMatch())
            continue;
        const ToolRun owner = runTool(tool("xprop"), {"-id", m.captured(1), "_NET_WM_PID"});
        if (QString::fromUtf8(owner.out).trimmed() ==
            QStringLiteral("_NET_WM_PID(CARDINAL) = %1").arg(pid))
            classes << m.captured(2);
    }
    return classes;
}

} // namespace

TEST_F(Package, FileListIsTheInstalledLayout) {
    const ToolRun list = runTool(tool("dpkg-deb"), {"--contents", m_deb});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    // "-rwxr-xr-x root/root 123 2025-01-31 08:05 ./usr/bin/kovan"
    QMap<QString, QString> files; // path → mode
    for (const QString& line : QString::fromUtf8(list.out).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QRegularExpression("\\s+"));
        ASSERT_GE(f.size(), 6) << line.toStdString();
        EXPECT_EQ(f[1], "root/root") << line.toStdString();
        if (f[0].startsWith(u'-'))
            files.insert(f[5], f[0]);
    }
    const QStringList expected{
        "./usr/bin/kovan",
        "./usr/bin/kovan-companion",
        "./usr/bin/kovan-demo-service",
        "./usr/lib/kovan/libkovan-http.so",
        "./usr/lib/kovan/libkovan-player.so",
        "./usr/lib/kovan/libkovan-sound.so",
        "./usr/share/applications/kovan.desktop",
        "./usr/share/doc/kovan/changelog.gz",
        "./usr/share/doc/kovan/copyright",
        "./usr/share/icons/hicolor/128x128/apps/kovan.png",
        "./usr/share/icons/hicolor/256x256/apps/kovan.png",
        "./usr/share/icons/hicolor/48x48/apps/kovan.png",
        "./usr/share/icons/hicolor/scalable/apps/kovan.svg",
        "./usr/share/kovan/README",
        "./usr/share/man/man1/kovan-companion.1.gz",
        "./usr/share/man/man1/kovan-demo-service.1.gz",
        "./usr/share/man/man1/kovan.1.gz",
        "./usr/share/metainfo/cn.langou_signals.kovan.metainfo.xml",
    };
    EXPECT_EQ(files.keys(), expected);
    for (const char* program : {"kovan", "kovan-companion", "kovan-demo-service"})
        EXPECT_EQ(files.value(QStringLiteral("./usr/bin/") + program), "-rwxr-xr-x") << program;
    for (const QString& path : expected) {
        if (!path.startsWith("./usr/bin/")) {
            EXPECT_EQ(files.value(path), QStringLiteral("-rw-r--r--")) << path.toStdString();
        }
    }
}

TEST_F(Package, ControlFieldsNameTheVersionAndFoundDependencies) {
    const ToolRun fields = runTool(
        tool("dpkg-deb"), {"--field", m_deb, "Package", "Version", "Architecture", "Depends"});
    ASSERT_EQ(fields.code, 0) << fields.err.toStdString();
    const QString text = QString::fromUtf8(fields.out);
    EXPECT_TRUE(text.contains("Package: kovan\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Version: " KOVAN_VERSION "\n")) << text.toStdString();
    EXPECT_TRUE(QFileInfo(m_deb).fileName().startsWith("kovan_" KOVAN_VERSION "_"));
    // Found by dpkg-shlibdeps, the web engine's helper program among them; libcurl, FFmpeg and
    // SDL2 through the HTTP, the video player's and the sound library, which the client loads
    // rather than links.
    for (const char* dep :
         {"libqt6core6", "libqt6webenginecore6 ", "libqt6widgets6", "libcurl", "libsdl2", "libc6",
          "libqt6webenginecore6-bin", "libavcodec", "libavformat", "libavfilter"})
        EXPECT_TRUE(text.contains(dep)) << dep << " in " << text.toStdString();
}

TEST_F(Package, DesktopEntryIsValidAndNamesTheClient) {
    const QString root = unpack();
    const QString path = root + "/usr/share/applications/kovan.desktop";
    ASSERT_TRUE(QFileInfo(path).isFile());
    const QMap<QString, QString> entry = desktopEntry(path);
    EXPECT_EQ(entry.value("Type"), "Application");
    EXPECT_EQ(entry.value("Name[zh_CN]"), "朗鸥策略");
    EXPECT_FALSE(entry.value("Name").isEmpty());
    EXPECT_FALSE(entry.value("Comment").isEmpty());
    EXPECT_EQ(entry.value("Categories"), "Office;Finance;");
    EXPECT_EQ(entry.value("Exec"), "kovan");
    EXPECT_TRUE(QFileInfo(root + "/usr/bin/" + entry.value("Exec")).isExecutable());
    EXPECT_EQ(entry.value("Icon"), "kovan");
    // The client's application name, which Qt gives its windows as their class.
    EXPECT_EQ(entry.value("StartupWMClass"), "kovan");

    if (tool("desktop-file-validate").isEmpty())
        GTEST_SKIP() << "desktop-file-validate is missing (Debian package desktop-file-utils)";
    const ToolRun check = runTool(tool("desktop-file-validate"), {path});
    EXPECT_EQ(check.code, 0);
    EXPECT_EQ(check.out + check.err, "") << (check.out + check.err).toStdString();
}

TEST_F(Package, IconsInEverySize) {
    const QString root = unpack();
    for (int size : {48, 128, 256}) {
        const QString png =
            root + QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/kovan.png").arg(size);
        QImageReader reader(png);
        EXPECT_EQ(reader.format(), "png") << png.toStdString();
        EXPECT_EQ(reader.size(), QSize(size, size)) << png.toStdString();
    }
    QFile svg(root + "/usr/share/icons/hicolor/scalable/apps/kovan.svg");
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), u"svg");
    EXPECT_EQ(xml.attributes().value("viewBox"), u"0 0 64 64");
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST_F(Package, MetainfoValidatesAndLaunchesTheDesktopEntry) {
    const QString root = unpack();
    const QString path = root + "/usr/share/metainfo/cn.langou_signals.kovan.metainfo.xml";
    const QByteArray xml = readFile(path);
    ASSERT_FALSE(xml.isEmpty());
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">kovan.desktop</launchable>"));
    EXPECT_TRUE(xml.contains("<release version=\"" KOVAN_VERSION "\""));
    if (tool("appstreamcli").isEmpty())
        GTEST_SKIP() << "appstreamcli is missing (Debian package appstream)";
    const ToolRun check = runTool(tool("appstreamcli"), {"validate", "--no-net", path});
    EXPECT_EQ(check.code, 0) << (check.out + check.err).toStdString();
}

TEST_F(Package, LintianReportsNoErrorsOrWarnings) {
    if (tool("lintian").isEmpty())
        GTEST_SKIP() << "lintian is missing (Debian package lintian)";
    const ToolRun check = runTool(tool("lintian"), {"--allow-root", m_deb});
    ASSERT_NE(check.code, -1) << "lintian did not finish";
    // Nothing is overridden either: the package holds no overrides file (see the file list).
    QStringList findings;
    for (const QString& line : linesOf(check.out + check.err)) {
        if (line.startsWith("E: ") || line.startsWith("W: "))
            findings << line;
    }
    EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();
}

TEST_F(Package, ControlFieldsRecommendAFontAndAnInputMethodAndNameARealMaintainer) {
    const ToolRun fields =
        runTool(tool("dpkg-deb"), {"--field", m_deb, "Recommends", "Maintainer", "Description"});
    ASSERT_EQ(fields.code, 0) << fields.err.toStdString();
    const QStringList lines = linesOf(fields.out);
    EXPECT_TRUE(lines.contains("Recommends: fonts-noto-cjk, fcitx5-frontend-qt6 | ibus"))
        << fields.out.toStdString();
    EXPECT_TRUE(lines.contains("Maintainer: kovan maintainers <kovan@langou-signals.cn>"))
        << fields.out.toStdString();
    // The long description's lines (after the summary) fit an 80-column terminal.
    for (const QString& line : lines) {
        if (line.startsWith(u' ')) {
            EXPECT_LE(line.size(), 80) << line.toStdString();
        }
    }
}

TEST_F(Package, NoMaintainerScripts) {
    // The private libraries are loaded by path: nothing for ldconfig, nothing to run.
    const ToolRun info = runTool(tool("dpkg-deb"), {"--info", m_deb});
    ASSERT_EQ(info.code, 0) << info.err.toStdString();
    for (const char* script : {"preinst", "postinst", "prerm", "postrm"})
        EXPECT_FALSE(QString::fromUtf8(info.out).contains(
            QRegularExpression(QStringLiteral(R"(\s%1\s)").arg(QLatin1StringView(script)))))
            << script << " in\n"
            << info.out.toStdString();
}

TEST_F(Package, PrivateLibrariesNameTheCLibrary) {
    if (tool("readelf").isEmpty())
        GTEST_SKIP() << "readelf is missing (Debian package binutils)";
    const QString root = unpack();
    for (const char* name : {"libkovan-http.so", "libkovan-player.so", "libkovan-sound.so"}) {
        const ToolRun dyn =
            runTool(tool("readelf"), {"--dynamic", root + "/usr/lib/kovan/" + name});
        ASSERT_EQ(dyn.code, 0) << name << ": " << dyn.err.toStdString();
        EXPECT_TRUE(dyn.out.contains("Shared library: [libc.so.6]")) << name << "\n"
                                                                     << dyn.out.toStdString();
    }
}

TEST_F(Package, CopyrightIsMachineReadableAndTheChangelogNamesThisVersion) {
    const QString root = unpack();
    const QString doc = root + "/usr/share/doc/kovan/";
    const QByteArray copyright = readFile(doc + "copyright");
    EXPECT_TRUE(copyright.startsWith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    for (const char* field :
         {"\nUpstream-Name: kovan\n", "\nFiles: *\n", "\nCopyright: ", "\nLicense: "})
        EXPECT_TRUE(copyright.contains(field)) << field;

    // gzip -9n: no file name and no time stamp in the header, so a rebuild makes the same bytes.
    const QByteArray gz = readFile(doc + "changelog.gz");
    ASSERT_GE(gz.size(), 10);
    EXPECT_EQ(gz.left(2), QByteArray("\x1f\x8b"));
    EXPECT_EQ(gz[3] & 0x08, 0) << "a file name in the header";
    EXPECT_EQ(gz.mid(4, 4), QByteArray(4, '\0')) << "a time stamp in the header";
    const QByteArray changelog = gunzip(doc + "changelog.gz");
    EXPECT_TRUE(changelog.startsWith("kovan (" KOVAN_VERSION ") ")) << changelog.toStdString();
    EXPECT_TRUE(changelog.contains("\n -- kovan maintainers <kovan@langou-signals.cn>  "));
}

TEST_F(Package, ManualPagesRenderWithoutWarnings) {
    for (const char* name : {"groff", "man"}) {
        if (tool(name).isEmpty())
            GTEST_SKIP() << name << " is missing (Debian packages groff-base, man-db)";
    }
    const QString root = unpack();
    for (const char* program : {"kovan", "kovan-companion", "kovan-demo-service"}) {
        SCOPED_TRACE(program);
        const QString page = root + "/usr/share/man/man1/" + program + ".1.gz";
        const QByteArray source = gunzip(page);
        ASSERT_FALSE(source.isEmpty()) << page.toStdString();
        EXPECT_TRUE(
            source.contains("\n.TH " + QByteArray(program).toUpper().replace("-", "\\-") + " 1 "));
        EXPECT_TRUE(source.contains("\"kovan " KOVAN_VERSION "\""));

        QTemporaryDir work;
        const QString plain = work.path() + "/" + program + ".1";
        QFile out(plain);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(source);
        out.close();
        const ToolRun groff = runTool(tool("groff"), {"-man", "-ww", "-z", plain});
        EXPECT_EQ(groff.code, 0);
        EXPECT_EQ(groff.out + groff.err, "") << (groff.out + groff.err).toStdString();
        // man's own check, as lintian runs it: the page as the user gets it.
        QProcess man;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MANWIDTH", "80");
        env.insert("LC_ALL", "C.UTF-8");
        man.setProcessEnvironment(env);
        man.start(tool("man"), {"--warnings", "-E", "UTF-8", "-l", page});
        ASSERT_TRUE(man.waitForFinished(60000));
        EXPECT_EQ(man.exitCode(), 0);
        EXPECT_EQ(man.readAllStandardError(), "");
        EXPECT_TRUE(man.readAllStandardOutput().contains("NAME"));
    }
}

TEST_F(Package, TheClientsManualPageDocumentsEveryOption) {
    const QString root = unpack();
    const ToolRun help = runTool(root + "/usr/bin/kovan", {"--help"});
    ASSERT_EQ(help.code, 0);
    const QString page = QString::fromUtf8(gunzip(root + "/usr/share/man/man1/kovan.1.gz"));
    ASSERT_FALSE(page.isEmpty());
    const QRegularExpression option(R"((?<![\w-])--[a-z][a-z-]*)");
    QStringList options;
    for (auto m = option.globalMatch(QString::fromUtf8(help.out)); m.hasNext();)
        options << m.next().captured(0);
    options.removeDuplicates();
    EXPECT_GE(options.size(), 9) << help.out.toStdString();
    // Each as an entry of OPTIONS (".TP" then the option, in roff's minus signs).
    for (const QString& o : options) {
        const QString roff = QString(o).replace(u'-', QStringLiteral("\\-"));
        EXPECT_TRUE(
            page.contains(QRegularExpression("\\n\\.TP\\n\\.B[IR]? (\\\\-h \", \" )?" +
                                             QRegularExpression::escape(roff) + "[ \\n\"]")))
            << o.toStdString();
    }
    for (const char* section : {"\n.SH FILES\n", "\n.SH ENVIRONMENT\n", "\n.SH EXIT STATUS\n"})
        EXPECT_TRUE(page.contains(QLatin1StringView(section))) << section;
    for (const char* entry : {"config.dat", "alerts.dat", "history/", "logs/", "KOVAN_TRACE",
                              "QT_QPA_PLATFORM", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        EXPECT_TRUE(page.contains(QString::fromLatin1(entry).replace(u'-', "\\-"))) << entry;
}

TEST_F(InstalledClient, RunsWithAPerUserFolderAndTheDesktopsWindowClass) {
    const QString root = unpack();
    const QString bin = root + "/usr/bin/";
    const ToolRun version = runTool(bin + "kovan", {"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "kovan " KOVAN_VERSION "\n");

    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString data = home.path() + "/data";
    const QString block = QStringLiteral("KVNPKG-%1").arg(::getpid());
    ASSERT_TRUE(kovan::publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    const auto removeBlocks = qScopeGuard([&block] {
        kovan::removeSessionBlock(block);
        kovan::removeSessionBlock(block + "-companion");
    });

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", data);
    env.insert("KOVAN_TRACE", "1");
    if (::geteuid() == 0) // the page sandbox cannot start as root
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("KOVAN_COMPANION_BLOCK", block + "-companion");
    // On the suite's X server the window class can be read back; elsewhere offscreen.
    const bool x11 =
        env.contains("DISPLAY") && !tool("xprop").isEmpty() && !tool("xwininfo").isEmpty();
    env.insert("QT_QPA_PLATFORM", x11 ? "xcb" : "offscreen");
    if (!env.contains("XDG_RUNTIME_DIR")) {
        env.insert("XDG_RUNTIME_DIR", home.path());
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QProcess client;
    client.setProcessEnvironment(env);
    client.setWorkingDirectory(home.path());
    client.start(bin + "kovan", {"--session-block", block, "--data-server", "127.0.0.1:9",
                                 "--page-server", "127.0.0.1:9", "--web-site", "127.0.0.1:9"});
    ASSERT_TRUE(client.waitForStarted(10000));
    QString trace;
    const auto waitFor = [&](const QString& line) {
        QDeadlineTimer deadline(60000);
        while (!trace.contains("kovan: " + line + "\n") && !deadline.hasExpired() &&
               client.state() == QProcess::Running) {
            client.waitForReadyRead(100);
            trace += QString::fromUtf8(client.readAllStandardError());
        }
        trace += QString::fromUtf8(client.readAllStandardError());
        return trace.contains("kovan: " + line + "\n");
    };
    const bool started = waitFor("start-up done");

    // The per-user folder holds the program folder, with the installed companion as "zrs".
    const QString dir = data + "/kovan/";
    EXPECT_TRUE(started) << trace.toStdString();
    EXPECT_TRUE(trace.contains("kovan: kovan " KOVAN_VERSION " in " + dir + "\n"))
        << trace.toStdString();
    // All of it the user's alone: the folder and the folders made in it 0700.
    const QFile::Permissions groupOrOthers = QFile::ReadGroup | QFile::WriteGroup |
                                             QFile::ExeGroup | QFile::ReadOther |
                                             QFile::WriteOther | QFile::ExeOther;
    EXPECT_FALSE(QFileInfo(dir).permissions() & groupOrOthers) << "per-user folder";
    for (const char* folder : {"cache", "logs", "sound", "screenshots", "resource"}) {
        EXPECT_TRUE(QFileInfo(dir + folder).isDir()) << folder;
        EXPECT_FALSE(QFileInfo(dir + folder).permissions() & groupOrOthers) << folder;
    }
    EXPECT_TRUE(QFileInfo(dir + "zrs").isExecutable());
    EXPECT_EQ(readFile(dir + "zrs"), readFile(bin + "kovan-companion"));
    EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"kovan", "kovan-companion", "kovan-demo-service"}));

    if (x11 && started) {
        // The windows' class (WM_CLASS instance and class) is what the desktop entry's
        // StartupWMClass names. The main window shows once start-up is done.
        const QMap<QString, QString> entry =
            desktopEntry(root + "/usr/share/applications/kovan.desktop");
        QStringList classes;
        for (int i = 0; i < 100 && classes.isEmpty(); ++i) {
            classes = windowClassesOf(client.processId());
            if (classes.isEmpty())
                QThread::msleep(100);
        }
        ASSERT_FALSE(classes.isEmpty())
            << "no window of the client on " << qPrintable(env.value("DISPLAY"));
        classes.removeDuplicates();
        EXPECT_EQ(classes, QStringList{"\"kovan\" \"" + entry.value("StartupWMClass") + "\""});
    }

    client.terminate();
    EXPECT_TRUE(client.waitForFinished(30000));
    EXPECT_EQ(client.exitCode(), 0);
    trace += QString::fromUtf8(client.readAllStandardError());
    QByteArray log;
    for (const QString& name : QDir(dir + "logs").entryList({"kovan-*.log"}, QDir::Files)) {
        log += readFile(dir + "logs/" + name);
        EXPECT_FALSE(QFileInfo(dir + "logs/" + name).permissions() & groupOrOthers)
            << name.toStdString();
    }
    EXPECT_TRUE(log.contains(" start-up done\n")) << log.toStdString();
    EXPECT_TRUE(log.contains(" process ends\n")) << log.toStdString();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
