// Desktop notifications on a real session bus: a private dbus-daemon with python3-dbusmock's
// notification daemon recording every Notify, the daemon's ActionInvoked and
// NotificationClosed played back to the client, and a bus without any notification service.

#include "notify/DbusNoticeSender.h"

#include "notify/DesktopNotices.h"
#include "notify/NoticeList.h"

#include "DesktopParts.h"
#include "WaitUntil.h"

#include <QProcess>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

namespace kovan {
namespace {

// Emits one of the notification interface's signals from the mock daemon (as if the user had
// clicked or dismissed a notification).
bool emitFromDaemon(const test::SessionBus& bus, const QString& signal, const QString& signature,
                    const QString& args) {
    QProcess gdbus;
    gdbus.setProcessEnvironment(bus.environment());
    gdbus.start(QStringLiteral("gdbus"),
                {"call", "--session", "--dest", "org.freedesktop.Notifications", "--object-path",
                 "/org/freedesktop/Notifications", "--method",
                 "org.freedesktop.DBus.Mock.EmitSignal", "org.freedesktop.Notifications", signal,
                 signature, args});
    return gdbus.waitForFinished(10000) && gdbus.exitCode() == 0;
}

class DbusNoticeSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString why;
        ASSERT_TRUE(bus.start(&why)) << why.toStdString();
    }
    // A notice the pages could raise, with text the body markup would read as markup.
    const rbMsgRecord notice =
        rbMsgRecord::make("新信号：黄金美元", "卖出 <b>1932.50</b> & 止损", "viewinfo", "", "", 0);

    test::SessionBus bus;
    test::NotificationDaemon daemon;
};

TEST_F(DbusNoticeSenderTest, ANoticeBecomesOneNotifyWithTheClientsFields) {
    QString why;
    ASSERT_TRUE(daemon.start(bus, &why)) << why.toStdString();
    DbusNoticeSender sender(bus.address());
    ASSERT_TRUE(sender.connected());
    QList<uint> ids;
    sender.send(DesktopNotices::noticeOf(notice), [&](uint id) { ids << id; });
    ASSERT_TRUE(test::waitUntil([&] { return !ids.isEmpty(); }));
    EXPECT_NE(ids.first(), 0u);

    const QStringList lines = daemon.notifyLines();
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    const QString line = lines.first();
    EXPECT_TRUE(line.contains(QStringLiteral(R"(Notify "kovan" 0 "kovan" "新信号：黄金美元" )")))
        << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(R"("卖出 &lt;b&gt;1932.50&lt;/b&gt; &amp; 止损")")))
        << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(R"(["default", "查看"])"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(R"("desktop-entry": "kovan")"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(R"("suppress-sound": True)"))) << line.toStdString();
    EXPECT_TRUE(line.endsWith(QStringLiteral(" -1"))) << line.toStdString();
}

TEST_F(DbusNoticeSenderTest, EachNoticeIsANewNotification) {
    QString why;
    ASSERT_TRUE(daemon.start(bus, &why)) << why.toStdString();
    DbusNoticeSender sender(bus.address());
    QList<uint> ids;
    for (int i = 0; i < 3; ++i)
        sender.send(DesktopNotices::noticeOf(notice), [&](uint id) { ids << id; });
    ASSERT_TRUE(test::waitUntil([&] { return ids.size() == 3; }));
    EXPECT_EQ(QSet<uint>(ids.cbegin(), ids.cend()).size(), 3);
    EXPECT_EQ(daemon.notifyLines().size(), 3);
    for (const QString& line : daemon.notifyLines())
        EXPECT_TRUE(line.contains(QStringLiteral(R"(Notify "kovan" 0 )"))) << line.toStdString();
}

TEST_F(DbusNoticeSenderTest, TheServersActionAndCloseReachTheNoticeTheyBelongTo) {
    QString why;
    ASSERT_TRUE(daemon.start(bus, &why)) << why.toStdString();
    DbusNoticeSender sender(bus.address());
    QList<int> viewed;
    DesktopNotices notices([&]() -> NoticeSender* { return &sender; },
                           [&](int index) { viewed << index; });
    notices.noticeRaised(7, notice, true);
    notices.noticeRaised(8, notice, true);
    ASSERT_TRUE(test::waitUntil([&] { return notices.shownCount() == 2; }));
    ASSERT_TRUE(notices.knows(2)); // the daemon numbers from 1
    ASSERT_TRUE(emitFromDaemon(bus, "ActionInvoked", "us", R"([<uint32 2>, <"default">])"));
    ASSERT_TRUE(test::waitUntil([&] { return !viewed.isEmpty(); }));
    EXPECT_EQ(viewed, QList<int>{8});
    ASSERT_TRUE(emitFromDaemon(bus, "NotificationClosed", "uu", "[<uint32 2>, <uint32 2>]"));
    ASSERT_TRUE(test::waitUntil([&] { return !notices.knows(2); }));
    EXPECT_TRUE(notices.knows(1));
}

TEST_F(DbusNoticeSenderTest, WithoutANotificationServiceNothingWaitsAndNothingIsShown) {
    DbusNoticeSender sender(bus.address());
    ASSERT_TRUE(sender.connected());
    bool sent = false;
    sender.send(DesktopNotices::noticeOf(notice), [&](uint) { sent = true; });
    // The call returned before any answer: the event loop still turns while it is out.
    EXPECT_EQ(sender.pendingCalls(), 1);
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    ASSERT_TRUE(test::waitUntil([&] { return ticked; }));
    // The bus refuses the call (no service, and none is started for it).
    ASSERT_TRUE(test::waitUntil([&] { return sender.pendingCalls() == 0; }));
    EXPECT_EQ(sender.failedCalls(), 1);
    EXPECT_FALSE(sent);
    EXPECT_FALSE(bus.hasOwner(QStringLiteral("org.freedesktop.Notifications")));
}

TEST(DbusNoticeSenderNoBus, NoAddressOrNoBusSendsNothing) {
    for (const QString& address :
         {QString(), QStringLiteral("unix:path=/nonexistent/kovan-test-bus")}) {
        DbusNoticeSender sender(address);
        EXPECT_FALSE(sender.connected());
        bool sent = false;
        sender.send(DesktopNotice{}, [&](uint) { sent = true; });
        EXPECT_EQ(sender.pendingCalls(), 0);
        test::pumpFor(50);
        EXPECT_FALSE(sent);
    }
}

} // namespace
} // namespace kovan
