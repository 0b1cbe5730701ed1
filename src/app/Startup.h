#pragma once

#include <QString>

#include <optional>

class QObject;

namespace kovan {

class Lifecycle;

// The start-up procedure: the companion update, the session the companion published, folders,
// settings, and between them the steps the client's parts added to `lifecycle`, each at its
// place (see StartStep). GUI thread.
class StartupProcedure {
public:
    enum class Outcome {
        Running,         // start-up done (or cut short by an error): run the message loop
        EndNow,          // the process ends at once
        EndAfterWindows, // the process ends without running the message loop
    };

    // `errorSender`: the object the error handler names when a step fails (the main window).
    StartupProcedure(const Lifecycle& lifecycle, QString sessionBlockName,
                     QObject* errorSender = nullptr);

    // Runs every step in order. An exception from a step skips the rest; it goes to the
    // application-wide error handler and the program runs on with what was set up.
    Outcome run();

private:
    Outcome runSteps();
    // The session the companion published becomes the client's; without one, how start-up
    // ends (the companion is started again).
    std::optional<Outcome> takeSession();
    bool companionUpdate();
    void startCompanion();
    void createFolders();
    void loadSettings();

    const Lifecycle& m_lifecycle;
    QString m_sessionBlockName;
    QObject* m_errorSender;
};

} // namespace kovan
