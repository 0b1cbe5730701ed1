#pragma once

#include "DesktopParts.h"

#include <QString>
#include <QStringList>

namespace kovan::test {

// An X server of the test's own (XServer) with a real window manager (openbox) on it, and the
// X tools that look at its windows (xprop, xdotool, wmctrl). Both processes end with the
// object. Windows of other tests never meet it.
class X11Desktop {
public:
    // Starts the server and the window manager and waits until the manager has taken the
    // screen; false with the reason in `why`.
    bool start(QString* why);
    // ":N".
    QString display() const { return m_server.display(); }
    // Runs an X tool on this display; its standard output (empty when it failed).
    QString tool(const QString& program, const QStringList& args) const;

    // The first window id ("0x…") in `text`, 0 when there is none.
    static quint64 windowIdIn(const QString& text);
    // The managed top-level windows of process `pid` whose title is `title` (wmctrl -lp).
    QList<quint64> windowsOf(qint64 pid, const QString& title) const;
    quint64 activeWindow() const;
    // WM_STATE: "Normal", "Iconic", "Withdrawn", or empty when the window has none.
    QString wmState(quint64 window) const;
    // The atoms of _NET_WM_STATE.
    QStringList netWmState(quint64 window) const;

private:
    XServer m_server;
    WindowManager m_manager;
};

} // namespace kovan::test
