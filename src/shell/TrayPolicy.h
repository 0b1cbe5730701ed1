#pragma once

namespace kovan {

// What the main window does when it is minimised or closed, when the desktop's tray comes or
// goes, when the floating bar closes and when the client starts: the tray rules as plain
// decisions, so that the window only carries them out. The one rule behind all of them: the
// client is never left without a way back, a tray icon or a task-bar entry.
//
// With a tray, minimising or closing hides the window into it; without one, the window is
// minimised to the task bar instead (hidden, a window manager would no longer list it). A tray
// that goes away while the window is hidden in it brings the window back, minimised. Whether a
// tray exists starts as "no" and follows trayChanged().
//
// Plain data, no Qt: GUI thread of the window that owns it.
class TrayPolicy {
public:
    enum class Window {
        Unchanged,
        Show,       // shown normally (a plain start)
        HideToTray, // hidden, reachable through the tray icon
        Minimise,   // minimised to the task bar, shown first when hidden
    };
    enum class FloatBar {
        Unchanged,
        ShowToFront, // positioned, shown and raised (a minimise with a session)
        ShowOnce,    // shown unless it shows already (the close picture)
    };
    struct Outcome {
        Window window = Window::Unchanged;
        FloatBar floatBar = FloatBar::Unchanged;
        bool operator==(const Outcome&) const = default;
    };

    // What the decisions read of the window at the moment they are asked.
    struct Facts {
        bool windowHidden = false; // not shown at all (in the tray, or before the first show)
        bool hasSession = false;   // a member or guest session exists
    };

    bool trayAvailable() const { return m_tray; }

    // The desktop's tray appeared (true) or went away (false).
    Outcome trayChanged(bool available, Facts facts);
    // SC_MINIMIZE, SC_CLOSE, the minimise picture: out of the way, the floating bar with a
    // session.
    Outcome minimiseRequested(Facts facts) const;
    // The close picture: out of the way, the floating bar unless it shows.
    Outcome closePictureClicked(Facts facts) const;
    // The floating bar closed: the window must stay reachable.
    Outcome floatBarClosed(Facts facts) const;
    // The end of start-up: shown, or (started at login) out of the way as on a minimise.
    Outcome started(bool atLogin, Facts facts) const;

private:
    Window outOfTheWay() const { return m_tray ? Window::HideToTray : Window::Minimise; }

    bool m_tray = false;
};

} // namespace kovan
