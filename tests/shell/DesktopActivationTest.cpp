// A window brought to the front for another start with its start-up id, on the X server of the
// program (WindowStackingTest.cpp's main): the id's click time read, the window's start-up id
// and user time set, the window mapped and active.

#include "shell/DesktopActivation.h"

#include "WaitUntil.h"
#include "X11Desktop.h"

#include <QWidget>

#include <gtest/gtest.h>

extern kovan::test::X11Desktop* g_desktop;

TEST(DesktopActivation, TheClickTimeOfAStartupId) {
    const struct {
        QByteArray id;
        quint32 time;
    } cases[] = {
        {"openbox-1234-host-kovan-0_TIME42", 42},
        {"kde-5678-host_TIME4294967295", 4294967295u},
        {"_TIME4294967296", 0}, // past 32 bits
        {"launcher-1-host-kovan-0", 0},
        {"x_TIMEabc", 0},
        {"x_TIME", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id.toStdString());
        EXPECT_EQ(kovan::DesktopActivation::timestampOf(c.id), c.time);
    }
}

TEST(DesktopActivation, TheWindowCarriesTheIdAndTheClickTimeAndComesToTheFront) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("activation"));
    window.setGeometry(100, 100, 300, 200);
    window.show();
    const quint64 id = window.winId();
    ASSERT_TRUE(kovan::test::waitUntil([&] { return g_desktop->wmState(id) == "Normal"; }))
        << g_desktop->tool("xprop", {"-id", QString::number(id)}).toStdString()
        << g_desktop->tool("wmctrl", {"-l"}).toStdString();
    window.hide();
    ASSERT_TRUE(kovan::test::waitUntil([&] { return g_desktop->wmState(id) != "Normal"; }));

    const QByteArray startupId = "test-1-host-kovan-0_TIME7777";
    kovan::DesktopActivation::prepare(&window, startupId);
    window.show();
    window.raise();
    window.activateWindow();
    kovan::DesktopActivation::finish(&window, startupId);
    EXPECT_TRUE(kovan::test::waitUntil(
        [&] { return g_desktop->wmState(id) == "Normal" && g_desktop->activeWindow() == id; }));
    const QString props = g_desktop->tool(
        "xprop", {"-id", QString::number(id), "_NET_STARTUP_ID", "_NET_WM_USER_TIME"});
    EXPECT_TRUE(props.contains("_NET_STARTUP_ID(UTF8_STRING) = \"" + startupId + "\""))
        << props.toStdString();
    EXPECT_TRUE(props.contains("_NET_WM_USER_TIME(CARDINAL) = 7777")) << props.toStdString();
}
