// The close message: which lines a peer may write, and a peer's line reaching the listener.

#include "WaitUntil.h"

#include "shell/CloseMessageListener.h"

#include <QCoreApplication>
#include <QLocalSocket>

#include <gtest/gtest.h>

namespace kovan {
namespace {

using kovan::test::pumpFor;
using kovan::test::waitUntil;

TEST(ShellCloseMessageTest, OnlyTheExactLineCounts) {
    const struct {
        QByteArray line;
        bool close;
    } cases[] = {
        {"wm_closecoear\n", true},   {"wm_closecoear\r\n", true},   {"  wm_closecoear \t\n", true},
        {"WM_CLOSECOEAR\n", false},  {"wm_closecoear2\n", false},   {"xwm_closecoear\n", false},
        {"wm_close coear\n", false}, {"wm_closecoear wm\n", false}, {"\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CloseMessageListener::isCloseMessage(c.line), c.close) << c.line.constData();
}

TEST(ShellCloseMessageTest, EachCloseLineOfAPeerIsReported) {
    // A name of its own: the running client's "wm_closecoear" stays untouched.
    const QString name =
        QStringLiteral("kovan-close-test-%1").arg(QCoreApplication::applicationPid());
    int reported = 0;
    CloseMessageListener listener([&reported] { ++reported; }, name);
    listener.registerCloseMessage();
    listener.registerCloseMessage(); // once is enough
    ASSERT_TRUE(listener.listening());

    QLocalSocket peer;
    peer.connectToServer(name);
    ASSERT_TRUE(peer.waitForConnected(5000));
    peer.write("hello\nwm_closecoear\nwm_closecoearX\nwm_clo");
    peer.flush();
    ASSERT_TRUE(waitUntil([&] { return reported == 1; }));
    // The rest of a line split across writes still counts once it is whole.
    peer.write("secoear\n");
    peer.flush();
    ASSERT_TRUE(waitUntil([&] { return reported == 2; }));
    peer.disconnectFromServer();
    pumpFor(50);
    EXPECT_EQ(reported, 2);
}

} // namespace
} // namespace kovan
