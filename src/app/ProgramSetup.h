#pragma once

#include <QStringList>

#include <optional>

namespace kovan {

struct CommandLine;
class KovanApplication;

// What happens around the application object before the client's parts exist. GUI thread
// (the only thread at that time).

QStringList argumentsOf(int argc, char** argv);

// --help, --version and a command line that cannot be used are answered on the terminal:
// returns the exit code then, nothing when the client runs.
std::optional<int> answerWithoutRunning(const CommandLine& cl);

// Before the application object: Qt's start-up notes held back (unless KOVAN_TRACE), the
// platform (choosePlatform), the page bridge's scheme, the names the desktop knows the client by.
void prepareApplication();
// Before the application object: on a Wayland session with an X server that answers, Qt's
// xcb platform (XWayland), so the windows keep their places and stacking; a QT_QPA_PLATFORM
// the user set stands.
void choosePlatform();
// After it: the desktop entry's name, the rendering path (before the first web view).
void finishApplication(KovanApplication& app);

// The program folder: --dir, the executable's folder, or (installed, or in a folder the user
// cannot write) the per-user data folder, made on first start with the companion installed
// beside the client. Sets the shared program state's folder and endpoints. A folder of another
// account is left as it is and named on stderr: the client does not run there (status 2).
enum class FolderSettled { Ready, NotMade, OtherAccount };
FolderSettled settleProgramFolder(const CommandLine& cl);

} // namespace kovan
