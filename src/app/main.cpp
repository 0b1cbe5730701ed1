// Program entry: the instance marker, the command line, the eight windows, the message loop.

#include "app/Startup.h"
#include "app/UnixSignalWatcher.h"
#include "core/CommandLine.h"
#include "core/ProgramState.h"
#include "core/SharedBlock.h"
#include "core/Trace.h"
#include "media/TvdoForm.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"
#include "shell/KovanApplication.h"
#include "shell/TMainForm.h"
#include "windows/Tauform.h"
#include "windows/TcsnmForm.h"
#include "windows/TftForm.h"
#include "windows/TtosForm.h"

#include <QDir>

#include <cstdio>
#include <memory>

namespace {

// Taken when the program is loaded, before main runs; released (and removed by the last
// client) when the program unloads.
kovan::InstanceMarker g_instanceMarker;

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kovan;

    const CommandLine cl = CommandLine::parse(argumentsOf(argc, argv));
    if (cl.outcome == CommandLine::Outcome::Help) {
        std::fputs(cl.message.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (cl.outcome == CommandLine::Outcome::Error) {
        std::fprintf(stderr, "%s\n\n%s", cl.message.toLocal8Bit().constData(),
                     CommandLine::usage().toLocal8Bit().constData());
        return 2;
    }

    KovanApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    ProgramState& state = program();
    state.programDir =
        cl.programDir.isEmpty() ? QCoreApplication::applicationDirPath() + u'/' : cl.programDir;
    state.endpoints = cl.endpoints;

    // Windows are deleted in reverse creation order before the application object goes.
    auto mainForm = std::make_unique<TMainForm>();
    UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, mainForm.get(),
                     [&mainForm](int) { mainForm->exitProcedure(); });

    StartupSteps steps;
    StartupProcedure startup(*mainForm, cl.sessionBlock, std::move(steps));
    const StartupProcedure::Outcome outcome = startup.run();
    if (outcome == StartupProcedure::Outcome::EndNow) {
        trace(QStringLiteral("ended at start-up"));
        return 0;
    }

    auto floatBar = std::make_unique<TtopFloatForm>();
    auto popup = std::make_unique<TrbMsgForm>();
    auto loginForm = std::make_unique<Tauform>();
    auto tosForm = std::make_unique<TtosForm>();
    auto lectureForm = std::make_unique<TftForm>();
    auto webForm = std::make_unique<TcsnmForm>();
    auto videoForm = std::make_unique<TvdoForm>();
    mainForm->setSecondaryWindows(floatBar.get(), popup.get());

    int rc = 0;
    if (outcome == StartupProcedure::Outcome::Running) {
        mainForm->show();
        rc = app.exec();
    } else {
        trace(QStringLiteral("ended after creating windows"));
    }
    trace(QStringLiteral("message loop left"));
    return rc;
}
