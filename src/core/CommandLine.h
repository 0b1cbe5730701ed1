#pragma once

#include "core/Endpoints.h"

#include <QString>
#include <QStringList>

namespace kovan {

// kovan [--dir DIR] [--data-server HOST[:PORT]] [--page-server HOST[:PORT]]
//       [--web-site HOST[:PORT]] [--session-block NAME]
struct CommandLine {
    enum class Outcome { Run, Help, Error };

    Outcome outcome = Outcome::Run;
    QString message;    // usage text for Help, the complaint for Error
    QString programDir; // with a trailing "/"; empty: the executable's folder
    QString sessionBlock = QStringLiteral("KOVANUSERSHARE");
    Endpoints endpoints;

    // `args` includes the program name as its first element.
    static CommandLine parse(const QStringList& args);
    static QString usage();
};

} // namespace kovan
