#include "app/ProgramSetup.h"

#include "core/CommandLine.h"
#include "core/ProgramDirChoice.h"
#include "core/ProgramState.h"
#include "core/SessionPlatform.h"
#include "core/Trace.h"
#include "shell/KovanApplication.h"
#include "web/WebEngineSetup.h"

#include <QGuiApplication>

#include <cstdio>
#include <unistd.h>

namespace kovan {

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

std::optional<int> answerWithoutRunning(const CommandLine& cl) {
    switch (cl.outcome) {
    case CommandLine::Outcome::Help:
    case CommandLine::Outcome::Version:
        std::fputs(cl.message.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "%s\n\n%s", cl.message.toLocal8Bit().constData(),
                     CommandLine::usage().toLocal8Bit().constData());
        return 2;
    default:
        return std::nullopt;
    }
}

namespace {
// Set by choosePlatform() when the client, not the user, picked the platform; main thread.
bool g_platformPickedHere = false;
} // namespace

void choosePlatform() {
    const QString platform = platformToAsk(SessionFacts::probe());
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
        g_platformPickedHere = true;
    }
}

void prepareApplication() {
    quietStartupNotes(traceEnabled()); // before the first message of Qt's
    choosePlatform();
    prepareWebEngine(); // the page bridge's scheme must exist before the application object
    // The window class the desktop entry's StartupWMClass names.
    QCoreApplication::setApplicationName(QStringLiteral("kovan"));
    QCoreApplication::setApplicationVersion(CommandLine::version());
}

void finishApplication(KovanApplication& app) {
    QGuiApplication::setDesktopFileName(QStringLiteral("kovan")); // kovan.desktop
    app.setQuitOnLastWindowClosed(false);
    trace(QStringLiteral("platform ") + QGuiApplication::platformName());
    // The platform is chosen now; the programs the client starts (the member's browser, the
    // companion) run on the session's own, as they would from the menu.
    if (g_platformPickedHere)
        qunsetenv("QT_QPA_PLATFORM");
    applyRenderingPath();
}

FolderSettled settleProgramFolder(const CommandLine& cl) {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const ProgramDirChoice folder =
        ProgramDirChoice::decide(ProgramDirFacts::probe(cl.programDir, exeDir));
    ProgramState& state = program();
    state.paths.programDir = folder.dir;
    state.paths.endpoints = cl.endpoints;
    const QString otherAccount = ProgramDirChoice::otherAccountProblem(folder.dir, ::geteuid());
    if (!otherAccount.isEmpty()) {
        std::fprintf(stderr, "kovan: %s\n", otherAccount.toLocal8Bit().constData());
        return FolderSettled::OtherAccount;
    }
    return folder.prepare(exeDir + QStringLiteral("/kovan-companion")) ? FolderSettled::Ready
                                                                       : FolderSettled::NotMade;
}

} // namespace kovan
