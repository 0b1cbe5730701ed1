// The real client on real desktop parts: a private session bus with a recording notification
// daemon, and a headless Wayland compositor (weston) with XWayland. A loopback page server's
// signal page raises a notice through tipwindow as it loads.
//  - sysnotify=1 under X11 rules: the pop-up rises into its corner and the notice also reaches
//    the notification service, once; sysnotify=0: the pop-up only.
//  - A Wayland session with an X server: the client runs through XWayland (xcb), its main
//    window and its pop-up are X11 windows where the client put them.
//  - A Wayland session without one: native Wayland; the notice goes to the notification
//    service and no pop-up slides in.

#include "ClientRun.h"

#include "core/SharedBlock.h"
#include "DesktopParts.h"
#include "TestServer.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSize>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace kovan;

namespace {

const char* const kNoticePage = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>QZEARVersion</title></head><body>
<p>signals</p>
<script>
window.external.FCB('tipwindow', JSON.stringify({title: '新信号：黄金美元',
  content: '卖出 <1932.50>', viewact: 'viewinfo', vititle: '信号详情',
  viparam: 'signinfo/abc/1', staytitle: 0}));
</script></body></html>)HTML";

// The page server whose signal page raises the notice.
std::unique_ptr<test::TestServer> noticePages() {
    return std::make_unique<test::TestServer>(
        [](const httplib::Request& req, httplib::Response& res) {
            if (req.path.rfind("/tools/signlist/", 0) == 0)
                res.set_content(kNoticePage, "text/html; charset=utf-8");
            else if (req.path.rfind("/tools/", 0) == 0)
                res.set_content("<html><body>QZEARVersion</body></html>", "text/html");
            else
                res.status = 404; // sounds: the notice stays silent
        });
}

QString blockName(const char* what) {
    return QStringLiteral("KVN%1-%2").arg(QString::fromLatin1(what)).arg(::getpid());
}

// A headless weston with XWayland, in a runtime folder of its own.
class Compositor {
public:
    bool start(QString* why) {
        if (!m_runtime.isValid() || ::chmod(QFile::encodeName(m_runtime.path()), 0700) != 0) {
            *why = QStringLiteral("no runtime folder for the compositor");
            return false;
        }
        // XWayland's sockets; a machine that never ran an X server has not got the folder.
        QDir().mkpath(QStringLiteral("/tmp/.X11-unix"));
        ::chmod("/tmp/.X11-unix", 01777);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DISPLAY"));
        m_socket = QStringLiteral("kovan-test-%1").arg(::getpid());
        if (!m_weston.start(QStringLiteral("weston"),
                            {QStringLiteral("--backend=headless-backend.so"),
                             QStringLiteral("--socket=") + m_socket, QStringLiteral("--xwayland")},
                            env, why))
            return false;
        // "xserver listening on display :N" once XWayland's socket is there.
        static const QRegularExpression listening(
            QStringLiteral(R"(xserver listening on display (:\d+))"));
        QString display;
        const bool up = test::waitUntil(
            [&] {
                const auto m = listening.match(m_weston.output());
                if (m.hasMatch())
                    display = m.captured(1);
                return !display.isEmpty() && QFile::exists(waylandDisplay());
            },
            20000);
        if (!up) {
            *why = QStringLiteral("weston did not come up: ") + m_weston.output();
            return false;
        }
        m_display = display;
        return true;
    }
    QString waylandDisplay() const { return m_runtime.filePath(m_socket); }
    QString xDisplay() const { return m_display; }
    QString log() { return m_weston.output(); }

private:
    QTemporaryDir m_runtime;
    QString m_socket;
    QString m_display;
    test::OwnedProcess m_weston;
};

// xdotool on `display`: its output lines, empty when it failed.
QStringList xdotool(const QString& display, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// A window's WM_NORMAL_HINTS as xprop prints them.
QString normalHints(const QString& display, const QString& id) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("xprop"), {"-id", id, "WM_NORMAL_HINTS"});
    if (!p.waitForFinished(10000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The position a window asked its window manager for, (-1, -1) when none.
QPoint requestedPosition(const QString& hints) {
    static const QRegularExpression location(
        QStringLiteral(R"(user specified location: (-?\d+), (-?\d+))"));
    const auto m = location.match(hints);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
}

struct XWindow {
    QString id;
    QPoint pos;
    QSize size;
    QString hints; // WM_NORMAL_HINTS, as xprop prints them
};

// The client's mapped X11 windows (WM_CLASS "kovan") with their root positions and sizes.
QList<XWindow> clientWindows(const QString& display) {
    static const QRegularExpression position(QStringLiteral(R"(Position: (-?\d+),(-?\d+))"));
    static const QRegularExpression geometry(QStringLiteral(R"(Geometry: (\d+)x(\d+))"));
    QList<XWindow> windows;
    for (const QString& id : xdotool(display, {"search", "--onlyvisible", "--class", "kovan"})) {
        const QString text = xdotool(display, {"getwindowgeometry", id}).join('\n');
        const auto p = position.match(text);
        const auto g = geometry.match(text);
        if (p.hasMatch() && g.hasMatch())
            windows.append({id,
                            {p.captured(1).toInt(), p.captured(2).toInt()},
                            {g.captured(1).toInt(), g.captured(2).toInt()},
                            normalHints(display, id)});
    }
    return windows;
}

QString describe(const QList<XWindow>& windows) {
    QString text;
    for (const XWindow& w : windows) {
        const QPoint asked = requestedPosition(w.hints);
        text += QStringLiteral("%1 %2x%3+%4+%5 (asked for %6,%7)\n")
                    .arg(w.id)
                    .arg(w.size.width())
                    .arg(w.size.height())
                    .arg(w.pos.x())
                    .arg(w.pos.y())
                    .arg(asked.x())
                    .arg(asked.y());
    }
    return text;
}

struct SysNotifyCase {
    const char* name;
    const char* config;
    int notifyLines;
};

void PrintTo(const SysNotifyCase& c, std::ostream* os) {
    *os << c.name;
}

class DesktopNoticeRun : public ::testing::TestWithParam<SysNotifyCase> {};

TEST_P(DesktopNoticeRun, TheNoticeReachesTheDesktopAsTheSettingSays) {
    const SysNotifyCase& c = GetParam();
    QString why;
    test::SessionBus bus;
    ASSERT_TRUE(bus.start(&why)) << why.toStdString();
    test::NotificationDaemon daemon;
    ASSERT_TRUE(daemon.start(bus, &why)) << why.toStdString();

    const QString block = blockName("DESKNOTE");
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    const auto pages = noticePages();
    ProgramFolder folder;
    folder.writeFile("config.dat", c.config);
    ClientRun client(folder, block);
    client.setEnv("DBUS_SESSION_BUS_ADDRESS", bus.address());
    client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(pages->port())});
    const bool rested = client.waitForText(QStringLiteral("kovan: rbMsgForm rests at"), 60000);
    if (c.notifyLines > 0)
        test::waitUntil([&] { return daemon.notifyLines().size() >= c.notifyLines; }, 20000);
    client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(rested) << trace.toStdString(); // the pop-up as on every X11 run

    const QStringList lines = daemon.notifyLines();
    ASSERT_EQ(lines.size(), c.notifyLines) << lines.join('\n').toStdString();
    if (c.notifyLines == 0)
        return;
    EXPECT_TRUE(lines[0].contains(
        QStringLiteral(R"(Notify "kovan" 0 "kovan" "新信号：黄金美元" "卖出 &lt;1932.50&gt;" )")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"(["default", "查看"])")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"("desktop-entry": "kovan")")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"("suppress-sound": True)")));
    // The setting stays as the member left it.
    EXPECT_TRUE(folder.readFile("config.dat").contains("sysnotify=1"));
}

const SysNotifyCase kSysNotifyCases[] = {
    {"On", "sysnotify=1\r\n", 1},
    {"Off", "sysnotify=0\r\n", 0},
    {"DefaultOffWherePopupsArePlaced", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Settings, DesktopNoticeRun, ::testing::ValuesIn(kSysNotifyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaylandSessionRun, WithXWaylandTheWindowsAreX11WindowsWhereTheClientPutThem) {
    QString why;
    Compositor weston;
    ASSERT_TRUE(weston.start(&why)) << why.toStdString();

    const QString block = blockName("XWAYLAND");
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    const auto pages = noticePages();
    ProgramFolder folder;
    ClientRun client(folder, block);
    client.unsetEnv("QT_QPA_PLATFORM");
    client.setEnv("WAYLAND_DISPLAY", weston.waylandDisplay());
    client.setEnv("XDG_SESSION_TYPE", "wayland");
    client.setEnv("DISPLAY", weston.xDisplay());
    client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(pages->port())});
    const bool rested = client.waitForText(QStringLiteral("kovan: rbMsgForm rests at"), 60000);
    QList<XWindow> windows;
    if (rested)
        test::waitUntil(
            [&] {
                windows = clientWindows(weston.xDisplay());
                return windows.size() >= 2;
            },
            20000);
    client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(trace.contains("kovan: platform xcb\n")) << trace.toStdString();
    ASSERT_TRUE(rested) << trace.toStdString();

    // Where the client put them: the main window (920 × 585) in the middle of the work area,
    // the pop-up (243 × 202) resting in its bottom-right corner.
    static const QRegularExpression area(
        QStringLiteral(R"(kovan: rbMsgForm work area (-?\d+),(-?\d+) (\d+)x(\d+)\n)"));
    const auto a = area.match(trace);
    ASSERT_TRUE(a.hasMatch()) << trace.toStdString();
    const QRect work(a.captured(1).toInt(), a.captured(2).toInt(), a.captured(3).toInt(),
                     a.captured(4).toInt());
    const QSize mainSize(920, 585);
    const QPoint mainAt = work.center() - QRect(QPoint(), mainSize).center();
    const QPoint popupAt(work.left() + work.width() - 243, work.top() + work.height() - 202);
    std::cout << "work area " << work.width() << "x" << work.height() << "+" << work.x() << "+"
              << work.y() << "\nX11 windows of the client:\n"
              << describe(windows).toStdString();
    bool mainSeen = false, popupSeen = false;
    for (const XWindow& w : windows) {
        if (w.size == mainSize) {
            mainSeen = true;
            // A managed window: the client asks for its place (WM_NORMAL_HINTS, user-specified
            // position); where it lands is the window manager's choice (weston's XWayland
            // manager places every managed window itself, GNOME's and KDE's keep the place).
            EXPECT_EQ(requestedPosition(w.hints), mainAt)
                << describe(windows).toStdString() << w.hints.toStdString();
        } else if (w.size == QSize(243, 202)) {
            popupSeen = true;
            // Outside the window manager: exactly where the client put it.
            EXPECT_EQ(w.pos, popupAt) << describe(windows).toStdString();
        }
    }
    EXPECT_TRUE(mainSeen) << describe(windows).toStdString();
    EXPECT_TRUE(popupSeen) << describe(windows).toStdString();
}

TEST(WaylandSessionRun, WithoutAnXServerTheNoticeGoesToTheDesktopAndNoPopupSlidesIn) {
    QString why;
    Compositor weston;
    ASSERT_TRUE(weston.start(&why)) << why.toStdString();
    test::SessionBus bus;
    ASSERT_TRUE(bus.start(&why)) << why.toStdString();
    test::NotificationDaemon daemon;
    ASSERT_TRUE(daemon.start(bus, &why)) << why.toStdString();

    const QString block = blockName("WAYLAND");
    ASSERT_TRUE(publishSessionBlock(block, R"({"UID":12,"sessid":"abc"})"));
    const auto pages = noticePages();
    ProgramFolder folder;
    ClientRun client(folder, block);
    client.unsetEnv("QT_QPA_PLATFORM");
    client.unsetEnv("DISPLAY");
    client.setEnv("WAYLAND_DISPLAY", weston.waylandDisplay());
    client.setEnv("XDG_SESSION_TYPE", "wayland");
    client.setEnv("DBUS_SESSION_BUS_ADDRESS", bus.address());
    client.start({"--page-server", QStringLiteral("127.0.0.1:%1").arg(pages->port())});
    const bool sent = test::waitUntil([&] { return !daemon.notifyLines().isEmpty(); }, 60000);
    client.endRun();
    const QString trace = client.traceText();
    ASSERT_TRUE(trace.contains("kovan: platform wayland")) << trace.toStdString();
    ASSERT_TRUE(sent) << trace.toStdString();
    const QStringList lines = daemon.notifyLines();
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"("kovan" "新信号：黄金美元")")))
        << lines[0].toStdString();
    // Default on where the pop-up cannot be placed, and the pop-up never slid in.
    EXPECT_FALSE(trace.contains("kovan: rbMsgForm shown")) << trace.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
