#pragma once

#include "core/Endpoints.h"
#include "core/SharedBlock.h"

#include <QString>
#include <QStringList>

namespace kovan {

// kovan [--dir DIR] [--data-server HOST[:PORT]] [--page-server HOST[:PORT]]
//       [--web-site HOST[:PORT]] [--session-block NAME] [--autostart]
// kovan [--dir DIR] --quit | --help | --version
struct CommandLine {
    enum class Outcome { Run, Help, Version, Error };

    Outcome outcome = Outcome::Run;
    QString message;    // text to print for Help and Version, the complaint for Error
    QString programDir; // with a trailing "/"; empty: the executable's folder
    QString sessionBlock = defaultSessionBlockName(); // "KOVANUSERSHARE.<uid>"
    Endpoints endpoints;
    bool autostart = false; // started at login: the main window starts in the tray
    bool quit = false;      // ask the running client of the folder to end, then end
    QStringList options;    // the options given, by name ("--dir", "--autostart"), in order

    // `args` includes the program name as its first element.
    static CommandLine parse(const QStringList& args);
    static QString usage();
    // The client's version, the project version of the build ("0.1.0").
    static QString version();
};

} // namespace kovan
