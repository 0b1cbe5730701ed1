#pragma once

#include "core/ProgramPaths.h"
#include "core/SessionState.h"

namespace kovan {

// The program state the main window reads: the session id (page addresses, whether a session
// exists when the window goes to the tray) and the paths (the page server, the program
// folder). Filled in once while the program is wired, before start-up; the pieces outlive the
// window. Until then the window acts as without a session. GUI thread only.
struct MainFormState {
    const SessionState* session = nullptr;
    const ProgramPaths* paths = nullptr;

    QString sessid() const { return session ? session->sessid() : QString(); }
};

} // namespace kovan
