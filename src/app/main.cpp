// Program entry: the instance marker, the command line, the program folder and the log, the
// client's parts wired together, start-up, the message loop, and the end.

#include "app/Startup.h"
#include "app/UnixSignalWatcher.h"
#include "chart/ChartModule.h"
#include "core/CommandLine.h"
#include "core/CommandRegistry.h"
#include "core/ExitProcedure.h"
#include "core/Lifecycle.h"
#include "core/ProgramDirChoice.h"
#include "core/ProgramState.h"
#include "core/SharedBlock.h"
#include "core/Trace.h"
#include "core/TraceLog.h"
#include "media/MediaModule.h"
#include "member/MemberModule.h"
#include "net/NetModule.h"
#include "net/SyncDelegates.h"
#include "net/WorkerThread.h"
#include "notify/NotifyModule.h"
#include "shell/KovanApplication.h"
#include "shell/ShellModule.h"
#include "shell/TMainForm.h"
#include "web/WebEngineSetup.h"
#include "web/WebModule.h"
#include "windows/WindowsModule.h"

#include <cstdio>

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

// The parts of the client, built in the order their windows are created (the main window
// first) and destroyed in reverse: the sync loop goes before the pages and the ticker it
// drives, the web views before the main window that holds them.
int runClient(const kovan::CommandLine& cl) {
    using namespace kovan;
    Lifecycle lifecycle;
    CommandRegistry& registry = commandRegistry();
    ExitProcedure exitProcedure(lifecycle);
    const QString soundDir = program().programDir + QStringLiteral("sound");

    ShellModule shell;
    WebModule web(shell.contentContainer(), shell.middleColumn());
    NetModule net({web.sectionPagesForSync(), shell.ratesTicker()});
    NotifyModule notify(soundDir);
    MemberModule member;
    WindowsModule windows;
    ChartModule chart;
    MediaModule media;

    // Needs → hooks.
    web.setNeeds({[&](const QString& t, const QString& u) { windows.shownormalwindow(t, u); },
                  [&] { return windows.showLecture(); }});
    MainFormHooks hooks;
    hooks.pages = web.pageHooks();
    hooks.pages.openChart = [&] { chart.openChart(); };
    chart.setNeeds({[&](const QString& url, const QString& key) { windows.showTerms(url, key); }});
    hooks.floatBarShowing = [&] { return notify.floatBarShowing(); };
    hooks.showFloatBar = [&](bool toFront) { notify.showFloatBar(toFront); };
    hooks.showNewestNotice = [&] { notify.showNewestNotice(); };
    hooks.logIMGClick = [&] { member.logIMGClick(); };
    hooks.exitProcedure = [&] { exitProcedure.run(); };
    shell.setNeeds({hooks, web.sectionViews(), notify.sounds()});
    notify.setNeeds({hooks.pages.showoptPage,
                     [&](const QString& t, const QString& u) { media.playVideo(t, u); },
                     [&] { return shell.form()->isVisible(); },
                     [&] { shell.form()->show(); },
                     [&] { shell.form()->bringToFront(); },
                     [&](const QString& key) { shell.form()->switchPae(key); },
                     {}});
    member.setNeeds({[&](bool m, const QString& label) { shell.showMemberState(m, label); },
                     [&](const QString& types) { web.sectionPagesForSync()->forceReload(types); },
                     [&] { exitProcedure.run(); }, &MemberModule::openInSystemBrowser});

    // Page commands, start-up and exit steps of every part.
    shell.registerCommands(registry);
    web.registerCommands(registry);
    notify.registerCommands(registry);
    member.registerCommands(registry);
    chart.registerCommands(registry);
    media.registerCommands(registry);
    shell.addSteps(lifecycle);
    web.addSteps(lifecycle, registry);
    net.addSteps(lifecycle);
    notify.addSteps(lifecycle);
    member.addSteps(lifecycle);
    chart.addSteps(lifecycle);
    media.addSteps(lifecycle);

    UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, &exitProcedure,
                     [&](int) { exitProcedure.run(); });

    StartupProcedure startup(lifecycle, cl.sessionBlock, shell.form());
    switch (startup.run()) {
    case StartupProcedure::Outcome::EndNow:
        trace(QStringLiteral("ended at start-up"));
        return 0;
    case StartupProcedure::Outcome::EndAfterWindows:
        trace(QStringLiteral("ended after creating windows"));
        return 0;
    case StartupProcedure::Outcome::Running:
        break;
    }
    shell.show();
    const int rc = QCoreApplication::exec();
    trace(QStringLiteral("message loop left"));
    return rc;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kovan;

    const CommandLine cl = CommandLine::parse(argumentsOf(argc, argv));
    if (cl.outcome == CommandLine::Outcome::Help || cl.outcome == CommandLine::Outcome::Version) {
        std::fputs(cl.message.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (cl.outcome == CommandLine::Outcome::Error) {
        std::fprintf(stderr, "%s\n\n%s", cl.message.toLocal8Bit().constData(),
                     CommandLine::usage().toLocal8Bit().constData());
        return 2;
    }

    prepareWebEngine(); // the page bridge's scheme must exist before the application object
    // The names the desktop knows the client by: the window class (StartupWMClass) and the
    // desktop entry kovan.desktop.
    QCoreApplication::setApplicationName(QStringLiteral("kovan"));
    QCoreApplication::setApplicationVersion(CommandLine::version());
    KovanApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("kovan"));
    app.setQuitOnLastWindowClosed(false);
    applyRenderingPath(); // before the first web view

    // The program folder: --dir, the executable's folder, or (installed, or in a folder the
    // user cannot write) the per-user data folder, made on first start with the companion
    // installed beside the client.
    const QString exeDir = QCoreApplication::applicationDirPath();
    const ProgramDirChoice folder =
        ProgramDirChoice::decide(ProgramDirFacts::probe(cl.programDir, exeDir));
    const bool prepared = folder.prepare(exeDir + QStringLiteral("/kovan-companion"));
    ProgramState& state = program();
    state.programDir = folder.dir;
    state.endpoints = cl.endpoints;

    // Lines reach <dir>/logs once start-up has made that folder (or from the start when an
    // earlier run made it). The log outlives the workers joined below.
    TraceLog log(state.programDir + QStringLiteral("logs"));
    trace(QStringLiteral("kovan ") + CommandLine::version() + QStringLiteral(" in ") +
          state.programDir);
    if (!prepared)
        trace(QStringLiteral("cannot make the program folder"));

    const int rc = runClient(cl);
    // Workers that outlived their owners (a download, a sound) are stopped and joined here,
    // while the application object still exists: none runs during static destruction.
    WorkerThread::reapAll();
    trace(QStringLiteral("process ends"));
    return rc;
}
