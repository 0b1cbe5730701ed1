#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace kovan {

// The places where the client's parts plug their work into start-up, in the order the
// start-up procedure reaches them. The procedure's own work (the companion, the session block,
// folders, settings) runs between them; see StartupProcedure.
enum class StartStep {
    SessionTaken,      // the session is the client's: sessid and sessInfoText are set
    AppRunning,        // appRunning has just been set
    LoadImages,        // program-wide documents made; star, folder and arrow pictures
    ShowFirstSection,  // settings loaded; content pane blank, signal section shown
    LoadEarnGif,       // the ticker band's animated picture
    LoadSkin,          // chrome, member, navigation, tab and loading pictures
    AddTrayIcon,       //
    AttachScriptHosts, // the page bridge in every web view
    NavigateSections,  // first loads of the section pages
    StartWorkers,      // the sync loop
    SignIn,            // the automatic member login
};
inline constexpr int kStartStepCount = int(StartStep::SignIn) + 1;

// The places where parts plug into the exit procedure, in order. Between RemoveTrayIcon and
// StopWorkers the procedure clears appRunning, so nothing restarts from there on.
enum class ExitStep {
    RemoveTrayIcon,
    StopWorkers, // ask every worker to end: cancel requests, drop steps waiting for the GUI
    HideWindows, // the main window first, then the others
};
inline constexpr int kExitStepCount = int(ExitStep::HideWindows) + 1;

// What each part of the client contributes to start-up and exit. Parts add their steps while
// the program is being wired; the start-up and exit procedures run them. Steps of one place
// run in the order they were added. GUI thread only.
class Lifecycle {
public:
    using Step = std::function<void()>;

    void onStart(StartStep at, Step step);
    void onExit(ExitStep at, Step step);
    // A worker (or group of workers) the exit procedure waits for: `ended` answers true once
    // it has ended. `name` shows in traces when the wait runs out.
    void waitAtExit(const QString& name, std::function<bool()> ended);

    // Runs the steps of one place. An exception leaves the remaining steps undone and passes
    // on (start-up hands it to the error handler and stops there).
    void runStart(StartStep at) const;
    // Exit steps run all of them: one that fails does not keep the others from running.
    void runExit(ExitStep at) const;

    // Names of the waits whose worker has not ended yet; empty when exit may finish.
    QStringList pendingWaits() const;

private:
    struct Wait {
        QString name;
        std::function<bool()> ended;
    };
    std::array<std::vector<Step>, kStartStepCount> m_start;
    std::array<std::vector<Step>, kExitStepCount> m_exit;
    std::vector<Wait> m_waits;
};

} // namespace kovan
