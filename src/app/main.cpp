// Program entry: the instance marker, the command line, the program folder and the log, the
// client's parts wired together, start-up, the message loop, and the end.

#include "app/ProgramSetup.h"
#include "app/Startup.h"
#include "app/UnixSignalWatcher.h"
#include "chart/ChartModule.h"
#include "core/CommandLine.h"
#include "core/CommandRegistry.h"
#include "core/ExitProcedure.h"
#include "core/Lifecycle.h"
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
#include "web/WebModule.h"
#include "windows/WindowsModule.h"

namespace {

// Taken when the program is loaded, before main runs; released (and removed by the last
// client) when the program unloads.
kovan::InstanceMarker g_instanceMarker;

// The parts of the client, built in the order their windows are created (the main window
// first) and destroyed in reverse: the sync loop goes before the pages and the ticker it
// drives, the web views before the main window that holds them.
int runClient(const kovan::CommandLine& cl) {
    using namespace kovan;
    Lifecycle lifecycle;
    CommandRegistry registry; // the page commands of every part; outlives the views
    ProgramState& state = program();
    ExitProcedure exitProcedure(lifecycle, state.appRunning);
    const auto exitNow = [&] { exitProcedure.run(); };

    ShellModule shell;
    WebModule web;
    NetModule net;
    NotifyModule notify;
    MemberModule member;
    WindowsModule windows;
    ChartModule chart;
    MediaModule media;

    // Needs, in the order the parts' offers come into being: the web views and the content pane
    // go into the main window's containers; the sync loop drives the pages and the ticker; the
    // notices' sound alerts show their switch in the main window.
    web.setNeeds({.session = &state.session,
                  .paths = &state.paths,
                  .contentContainer = shell.contentContainer(),
                  .middleColumn = shell.middleColumn()});
    net.setNeeds({.session = &state.session,
                  .syncTables = &state.sync,
                  .news = &state.topInfoList,
                  .appRunning = &state.appRunning,
                  .paths = &state.paths,
                  .pages = web.sectionPagesForSync(),
                  .ticker = shell.ratesTicker(),
                  .whenPagesShown = web.whenPagesShown()});
    windows.setNeeds({.settings = &state.settings, .paths = &state.paths});
    chart.setNeeds({.settings = &state.settings,
                    .session = &state.session,
                    .paths = &state.paths,
                    .syncTables = &state.sync,
                    .showTerms = [&](const QString& url, const QString& key) {
                        windows.showTerms(url, key);
                    }});
    media.setNeeds({.paths = &state.paths});
    PageHooks pages = web.pageHooks();
    pages.openChart = [&] { chart.openChart(); };
    notify.setNeeds(
        {.session = &state.session,
         .news = &state.topInfoList,
         .realtimeSignals = &state.realtimeSignals,
         .paths = &state.paths,
         .showoptPage = pages.showoptPage,
         .playVideo = [&](const QString& t, const QString& u) { media.playVideo(t, u); },
         .mainWindow = shell.mainWindowControls()});
    shell.setNeeds({.session = &state.session,
                    .paths = &state.paths,
                    .syncTables = &state.sync,
                    .appRunning = &state.appRunning,
                    .hooks = {.pages = pages,
                              .floatBarShowing = [&] { return notify.floatBarShowing(); },
                              .showFloatBar = [&](bool toFront) { notify.showFloatBar(toFront); },
                              .showNewestNotice = [&] { notify.showNewestNotice(); },
                              .logIMGClick = [&] { member.logIMGClick(); },
                              .exitProcedure = exitNow},
                    .sectionViews = web.sectionViews(),
                    .sounds = notify.sounds()});
    member.setNeeds(
        {.session = &state.session,
         .settings = &state.settings,
         .paths = &state.paths,
         .appRunning = &state.appRunning,
         .showMemberState = [&](bool m, const QString& label) { shell.showMemberState(m, label); },
         .forceReload =
             [&](const QString& types) { web.sectionPagesForSync()->forceReload(types); },
         .exitProcedure = exitNow,
         .openUrl = &MemberModule::openInSystemBrowser});

    // Page commands, then start-up and exit steps, of every part.
    ClientPart* const parts[] = {&shell, &web, &net, &notify, &member, &windows, &chart, &media};
    for (ClientPart* part : parts)
        part->registerCommands(registry);
    for (ClientPart* part : parts)
        part->addSteps(lifecycle);

    UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, &exitProcedure,
                     [&](int) { exitProcedure.run(); });

    StartupProcedure startup(lifecycle, cl.sessionBlock, shell.form());
    if (const auto outcome = startup.run(); outcome != StartupProcedure::Outcome::Running) {
        trace(outcome == StartupProcedure::Outcome::EndNow
                  ? QStringLiteral("ended at start-up")
                  : QStringLiteral("ended after creating windows"));
        return 0;
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
    if (const std::optional<int> rc = answerWithoutRunning(cl))
        return *rc;

    prepareApplication();
    KovanApplication app(argc, argv);
    finishApplication(app);
    const bool folderReady = settleProgramFolder(cl);

    // Lines reach <dir>/logs once start-up has made that folder (or from the start when an
    // earlier run made it). The log outlives the workers joined below.
    TraceLog log(program().paths.programDir + QStringLiteral("logs"));
    trace(QStringLiteral("kovan ") + CommandLine::version() + QStringLiteral(" in ") +
          program().paths.programDir);
    if (!folderReady)
        trace(QStringLiteral("cannot make the program folder"));

    const int rc = runClient(cl);
    // Workers that outlived their owners (a download, a sound) are stopped and joined here,
    // while the application object still exists: none runs during static destruction.
    WorkerThread::reapAll();
    trace(QStringLiteral("process ends"));
    return rc;
}
