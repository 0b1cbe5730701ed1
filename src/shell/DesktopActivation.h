#pragma once

#include <QByteArray>

class QWidget;

namespace kovan {

// A window brought to the front for another process's start (a second start handed over):
// on X11 with that start's start-up notification id (DESKTOP_STARTUP_ID), as the desktop's
// start-up notification protocol asks. The id carries the time of the user's click
// ("…_TIME<ms>"): the window's user time and its activation request carry it, so a window
// manager with focus-stealing prevention (openbox, KWin, Mutter) treats the raise as the
// user's own; and the desktop's launch feedback (the busy cursor) ends with a "remove"
// message for the id. Qt 6.4's own handling of the id covers only the first window a process
// maps, from its own environment. Elsewhere (Wayland, offscreen) and without an id: nothing.
// GUI thread only.
class DesktopActivation {
public:
    // The click's time in the id, 0 when it has none.
    static quint32 timestampOf(const QByteArray& startupId);

    // Before `window` is shown and raised: its user time and start-up id set.
    static void prepare(QWidget* window, const QByteArray& startupId);
    // After: the activation request with the click's time, the launch feedback ended.
    static void finish(QWidget* window, const QByteArray& startupId);
};

} // namespace kovan
