// The tray and start at login, seen from outside: the real client on an X server and a session
// bus of the test's own, under openbox, with a panel's StatusNotifierWatcher that is there from
// the start, comes later, goes away, or never exists. The icon is read and clicked through
// StatusNotifierItem and com.canonical.dbusmenu as a panel does.

#include "ClientRun.h"

#include "core/SharedBlock.h"

#include "DesktopParts.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

#include <unistd.h>

using namespace kovan;
using namespace kovan::test;

namespace {

const QString kTitle = QStringLiteral("朗鸥策略");

class TrayRun : public ::testing::Test {
protected:
    void SetUp() override {
        QString why;
        ASSERT_TRUE(m_x.start(&why)) << why.toStdString();
        ASSERT_TRUE(m_wm.start(m_x, &why)) << why.toStdString();
        ASSERT_TRUE(m_bus.start(&why)) << why.toStdString();
        publishSession();
    }
    void publishSession() {
        ASSERT_TRUE(publishSessionBlock(m_block, R"({"UID":12,"sessid":"abc"})"));
    }
    void TearDown() override {
        if (m_client) {
            EXPECT_TRUE(m_client->endRun()) << m_client->traceText().toStdString();
        }
        m_client.reset();
        removeSessionBlock(m_block);
        removeSessionBlock(m_block + "-companion");
    }

    void startWatcher() {
        QString why;
        ASSERT_TRUE(m_watcher.start(m_bus, &why)) << why.toStdString();
    }
    void startClient(const QStringList& args = {}) {
        m_client = std::make_unique<ClientRun>(m_folder, m_block);
        m_client->setEnv("QT_QPA_PLATFORM", "xcb");
        m_client->setEnv("DISPLAY", m_x.display());
        m_client->setEnv("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
        m_client->setEnv("XDG_CONFIG_HOME", m_config.path());
        m_client->start(args);
        ASSERT_TRUE(m_client->waitForTrace("start-up done")) << m_client->traceText().toStdString();
    }
    // The item's bus name once the watcher has it.
    QString registeredItem() {
        waitUntil([this] { return !m_watcher.registeredItems().isEmpty(); }, 15000);
        return m_watcher.registeredItems().value(0);
    }
    QList<DbusMenuItem> menu(const QString& item) {
        QString why;
        const QString reply = gdbusCall(m_bus,
                                        {"--dest", item, "--object-path", "/MenuBar", "--method",
                                         "com.canonical.dbusmenu.GetLayout", "--", "0", "-1", "[]"},
                                        &why);
        EXPECT_FALSE(reply.isEmpty()) << why.toStdString();
        return dbusMenuItems(reply);
    }
    void click(const QString& item, const QString& label) {
        int id = -1;
        for (const DbusMenuItem& i : menu(item))
            if (i.label == label)
                id = i.id;
        ASSERT_GE(id, 0) << label.toStdString();
        QString why;
        EXPECT_FALSE(
            gdbusCall(m_bus,
                      {"--dest", item, "--object-path", "/MenuBar", "--method",
                       "com.canonical.dbusmenu.Event", QString::number(id), "clicked", "<0>", "0"},
                      &why)
                .isEmpty())
            << why.toStdString();
    }
    QString mainWindow() {
        waitUntil([this] { return !m_wm.windowId(kTitle).isEmpty(); }, 15000);
        return m_wm.windowId(kTitle);
    }
    // Listed by the window manager and minimised there (not withdrawn).
    void expectMinimisedInTheTaskBar() {
        const QString id = mainWindow();
        ASSERT_FALSE(id.isEmpty()) << m_wm.listedWindows().join('\n').toStdString();
        EXPECT_TRUE(
            waitUntil([&] { return m_wm.netWmState(id).contains("_NET_WM_STATE_HIDDEN"); }, 10000))
            << m_wm.netWmState(id).toStdString();
    }
    QString autostartEntry() const { return m_config.filePath("autostart/kovan.desktop"); }

    XServer m_x;
    WindowManager m_wm;
    SessionBus m_bus;
    StatusNotifierWatcher m_watcher;
    ProgramFolder m_folder;
    QTemporaryDir m_config; // XDG_CONFIG_HOME of the runs
    QString m_block = QString("KVNTRAY-%1-%2")
                          .arg(::testing::UnitTest::GetInstance()->current_test_info()->name())
                          .arg(::getpid());
    std::unique_ptr<ClientRun> m_client;
};

TEST_F(TrayRun, WatcherAtStartGetsTheIconAndItsMenu) {
    startWatcher();
    startClient();
    const QString item = registeredItem();
    ASSERT_FALSE(item.isEmpty()) << m_client->traceText().toStdString();
    QStringList labels;
    for (const DbusMenuItem& i : menu(item))
        labels << i.label;
    EXPECT_EQ(labels, (QStringList{"隐藏(_H)", "浮窗(_F)", "提醒事件(_H)", "会员中心(_M)",
                                   "价格提醒(_P)", "系统通知(_N)", "开机启动(_S)", "退出(_X)"}));
    // Shown: listed as a normal window, not minimised.
    const QString id = mainWindow();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_FALSE(m_wm.netWmState(id).contains("_NET_WM_STATE_HIDDEN"));
}

TEST_F(TrayRun, StartAtLoginItemWritesAndRemovesTheEntry) {
    startWatcher();
    startClient();
    const QString item = registeredItem();
    ASSERT_FALSE(item.isEmpty());
    click(item, "开机启动(_S)");
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(autostartEntry()); }, 10000))
        << m_client->traceText().toStdString();
    QFile entry(autostartEntry());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains("Exec=" KOVAN_BIN_DIR "/kovan --autostart --dir " +
                              QDir::cleanPath(m_folder.path()) + "\n"))
        << text.toStdString();
    int toggle = -1;
    for (const DbusMenuItem& i : menu(item))
        if (i.label == "开机启动(_S)")
            toggle = i.toggleState;
    EXPECT_EQ(toggle, 1);
    click(item, "开机启动(_S)");
    EXPECT_TRUE(waitUntil([&] { return !QFile::exists(autostartEntry()); }, 10000));
}

TEST_F(TrayRun, LateWatcherGetsTheIcon) {
    startClient();
    ASSERT_TRUE(m_client->traceText().contains("tray: status notifier host no"));
    // A panel coming up a while after the client (the deliberate gap of a login, not a wait
    // for anything).
    QThread::sleep(2);
    startWatcher();
    const QString item = registeredItem();
    ASSERT_FALSE(item.isEmpty()) << m_client->traceText().toStdString();
    std::cout << "icon registered " << m_watcher.firstRegistrationMs()
              << " ms after the late watcher took its name\n";
    RecordProperty("late_watcher_registration_ms", int(m_watcher.firstRegistrationMs()));
    EXPECT_EQ(menu(item).size(), 8);
    // Its left click shows the window: hidden first through the menu.
    click(item, "隐藏(_H)");
    ASSERT_TRUE(waitUntil([&] { return m_wm.windowId(kTitle).isEmpty(); }, 10000));
    QString why;
    EXPECT_FALSE(gdbusCall(m_bus,
                           {"--dest", item, "--object-path", "/StatusNotifierItem", "--method",
                            "org.kde.StatusNotifierItem.Activate", "0", "0"},
                           &why)
                     .isEmpty())
        << why.toStdString();
    EXPECT_FALSE(mainWindow().isEmpty());
}

TEST_F(TrayRun, WatcherGoingWhileTheWindowIsInTheTrayBringsItBackMinimised) {
    startWatcher();
    startClient();
    const QString item = registeredItem();
    ASSERT_FALSE(item.isEmpty());
    ASSERT_FALSE(mainWindow().isEmpty());
    click(item, "隐藏(_H)");
    ASSERT_TRUE(waitUntil([&] { return m_wm.windowId(kTitle).isEmpty(); }, 10000))
        << "hidden into the tray";
    m_watcher.stop();
    ASSERT_TRUE(m_client->waitForTrace("main window minimised", 10000))
        << m_client->traceText().toStdString();
    expectMinimisedInTheTaskBar();
}

TEST_F(TrayRun, WithoutATrayMinimiseAndCloseKeepTheWindowInTheTaskBar) {
    startClient();
    const QString id = mainWindow();
    ASSERT_FALSE(id.isEmpty()) << m_wm.listedWindows().join('\n').toStdString();
    QProcess minimise;
    minimise.setProcessEnvironment(m_x.environment());
    minimise.start("xdotool", {"windowminimize", id});
    ASSERT_TRUE(minimise.waitForFinished(10000));
    ASSERT_TRUE(m_client->waitForTrace("main window minimised", 10000))
        << m_client->traceText().toStdString();
    expectMinimisedInTheTaskBar();
    EXPECT_TRUE(m_client->waitForTrace("floating bar shown", 10000));

    // Back up, then closed by the window manager: minimised again, never withdrawn.
    QProcess raise;
    raise.setProcessEnvironment(m_x.environment());
    raise.start("wmctrl", {"-i", "-a", id});
    ASSERT_TRUE(raise.waitForFinished(10000));
    ASSERT_TRUE(
        waitUntil([&] { return !m_wm.netWmState(id).contains("_NET_WM_STATE_HIDDEN"); }, 10000));
    QProcess close;
    close.setProcessEnvironment(m_x.environment());
    close.start("wmctrl", {"-i", "-c", id});
    ASSERT_TRUE(close.waitForFinished(10000));
    EXPECT_TRUE(
        waitUntil([&] { return m_wm.netWmState(id).contains("_NET_WM_STATE_HIDDEN"); }, 10000));
    EXPECT_EQ(m_wm.windowId(kTitle), id);
}

// An XEmbed tray (no StatusNotifierWatcher on the bus): there at start, or later.
TEST_F(TrayRun, XEmbedTrayGetsTheIconAtStartOrLater) {
    for (const bool late : {false, true}) {
        XEmbedTray tray;
        QString why;
        if (late) {
            publishSession(); // the first run's end removed it
        } else {
            ASSERT_TRUE(tray.start(m_x, &why)) << why.toStdString();
        }
        startClient();
        EXPECT_TRUE(m_client->traceText().contains(
            late ? "tray: status notifier host no, xembed tray no"
                 : "tray: status notifier host no, xembed tray yes"));
        if (late) {
            ASSERT_TRUE(tray.start(m_x, &why)) << why.toStdString();
        }
        EXPECT_TRUE(waitUntil([&] { return !tray.dockRequests().isEmpty(); }, 15000))
            << (late ? "late: " : "at start: ") << m_client->traceText().toStdString();
        EXPECT_TRUE(m_client->endRun());
        m_client.reset();
    }
}

TEST_F(TrayRun, XEmbedTrayGoingWhileTheWindowIsInItBringsItBackMinimised) {
    XEmbedTray tray;
    QString why;
    ASSERT_TRUE(tray.start(m_x, &why)) << why.toStdString();
    startClient();
    ASSERT_TRUE(waitUntil([&] { return !tray.dockRequests().isEmpty(); }, 15000));
    const QString id = mainWindow();
    ASSERT_FALSE(id.isEmpty());
    QProcess minimise;
    minimise.setProcessEnvironment(m_x.environment());
    minimise.start("xdotool", {"windowminimize", id});
    ASSERT_TRUE(minimise.waitForFinished(10000));
    ASSERT_TRUE(m_client->waitForTrace("main window in the tray", 10000))
        << m_client->traceText().toStdString();
    ASSERT_TRUE(waitUntil([&] { return m_wm.windowId(kTitle).isEmpty(); }, 10000));
    // A StatusNotifier panel now is of no use to an icon Qt made for XEmbed: the window must
    // still come back when the XEmbed tray goes.
    startWatcher();
    ASSERT_TRUE(m_client->waitForTrace("tray: status notifier host came", 10000));
    tray.stop();
    ASSERT_TRUE(m_client->waitForTrace("main window minimised", 10000))
        << m_client->traceText().toStdString();
    expectMinimisedInTheTaskBar();
}

TEST_F(TrayRun, StartedAtLoginWithATrayTheWindowStaysInIt) {
    startWatcher();
    startClient({"--autostart"});
    ASSERT_FALSE(registeredItem().isEmpty()) << m_client->traceText().toStdString();
    EXPECT_TRUE(m_client->waitForTrace("main window in the tray", 10000));
    EXPECT_TRUE(m_client->waitForTrace("floating bar shown", 10000));
    EXPECT_TRUE(m_wm.windowId(kTitle).isEmpty()) << m_wm.listedWindows().join('\n').toStdString();
}

TEST_F(TrayRun, StartedAtLoginWithoutATrayTheWindowIsMinimised) {
    startClient({"--autostart"});
    EXPECT_TRUE(m_client->waitForTrace("main window minimised", 10000));
    EXPECT_TRUE(m_client->waitForTrace("floating bar shown", 10000));
    expectMinimisedInTheTaskBar();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
