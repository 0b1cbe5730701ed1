#pragma once

#include <QString>

#include <functional>

namespace kovan {

class TMainForm;

// The steps other parts of the client contribute to start-up, in the order they run. Each may
// be empty while its part is not there. GUI thread.
struct StartupSteps {
    std::function<void()> loadImages;        // star, close/open and arrow pictures
    std::function<void()> showFirstSection;  // content pane blank, signal section shown
    std::function<void()> loadEarnGif;       // cache/edata.gif into the ticker band picture
    std::function<void()> loadSkin;          // chrome, member, navigation, tab and loading images
    std::function<void()> attachScriptHosts; // the page bridge in every web view
    std::function<void()> navigateSections;  // first loads of the five section pages
    std::function<void()> startSyncWorker;   // the one-second sync loop
    std::function<void(const QString& user, const QString& password)> loginRequest;
};

// The start-up procedure the main window runs while it is being created.
class StartupProcedure {
public:
    enum class Outcome {
        Running,         // start-up done (or cut short by an error): run the message loop
        EndNow,          // the process ends at once, no further windows
        EndAfterWindows, // create the other windows, then leave without running the loop
    };

    StartupProcedure(TMainForm& form, QString sessionBlockName, StartupSteps steps);

    // Runs every step in order. An exception from a step skips the rest; it goes to the
    // application-wide error handler and the program runs on with what was set up.
    Outcome run();

private:
    Outcome runSteps();
    bool companionUpdate();
    void startCompanion();
    void createFolders();
    void loadSettings();
    void automaticLogin();

    TMainForm& m_form;
    QString m_sessionBlockName;
    StartupSteps m_steps;
};

} // namespace kovan
