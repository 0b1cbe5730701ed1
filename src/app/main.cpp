// Program entry: the instance marker, the command line, the program folder, the hand-over to a
// client that runs for it already, the log, the client's parts wired together, start-up, the
// message loop, and the end.

#include "alerts/AlertsModule.h"
#include "app/ProgramSetup.h"
#include "app/SingleClient.h"
#include "app/Startup.h"
#include "app/UnixSignalWatcher.h"
#include "chart/ChartModule.h"
#include "core/AutostartEntry.h"
#include "core/CommandLine.h"
#include "core/CommandRegistry.h"
#include "core/ExitProcedure.h"
#include "core/FolderLock.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "core/SessionPlatform.h"
#include "core/SharedBlock.h"
#include "core/Trace.h"
#include "core/TraceLog.h"
#include "instance/InstanceModule.h"
#include "media/MediaModule.h"
#include "member/MemberModule.h"
#include "net/NetModule.h"
#include "net/SyncDelegates.h"
#include "notify/NotifyModule.h"
#include "shell/KovanApplication.h"
#include "shell/ShellModule.h"
#include "shell/TMainForm.h"
#include "threads/WorkerThread.h"
#include "web/WebModule.h"
#include "windows/WindowsModule.h"

#include <QGuiApplication>

#include <array>
#include <functional>

namespace {

// Taken when the program is loaded, before main runs; released (and removed by the last
// client) when the program unloads.
kovan::InstanceMarker g_instanceMarker;

// The parts of the client, built in the order their windows are created (the main window
// first) and destroyed in reverse: the sync loop goes before the pages and the ticker it
// drives and before the price alerts it checks, the web views before the main window that
// holds them.
struct ClientParts {
    kovan::ShellModule shell;
    kovan::WebModule web;
    kovan::AlertsModule alerts;
    kovan::NetModule net;
    kovan::NotifyModule notify;
    kovan::MemberModule member;
    kovan::WindowsModule windows;
    kovan::ChartModule chart;
    kovan::MediaModule media;
    kovan::InstanceModule instance; // no windows; its exit step comes first of all

    std::array<kovan::ClientPart*, 10> all() {
        return {&instance, &shell, &web, &alerts, &net, &notify, &member, &windows, &chart, &media};
    }
};

// What the chart windows ask of the price alerts.
kovan::ChartAlertActions chartAlertActions(kovan::AlertsModule& alerts) {
    return {
        .lines = [a = &alerts](const QString& sym) { return a->chartLines(sym); },
        .addAt = [a = &alerts](const QString& sym, double price) { a->openAddDialog(sym, price); },
        .openList = [a = &alerts] { a->openWindow(); },
        .edit = [a = &alerts](qint64 id) { a->openEditDialog(id); },
        .remove = [a = &alerts](qint64 id) { a->removeAlert(id); },
        .move = [a = &alerts](qint64 id, double price) { a->moveAlert(id, price); }};
}

// Needs, in the order the parts' offers come into being: the web views and the content pane
// go into the main window's containers; the sync loop drives the pages and the ticker; the
// windows, charts and videos read the settings and the folder.
void wireContentParts(ClientParts& p, kovan::ProgramState& state) {
    using namespace kovan;
    p.web.setNeeds({.session = &state.session,
                    .paths = &state.paths,
                    .contentContainer = p.shell.contentContainer(),
                    .middleColumn = p.shell.middleColumn()});
    p.net.setNeeds({.session = &state.session,
                    .syncTables = &state.sync,
                    .news = &state.topInfoList,
                    .appRunning = &state.appRunning,
                    .paths = &state.paths,
                    .pages = p.web.sectionPagesForSync(),
                    .ticker = p.shell.ratesTicker(),
                    .quoteWatcher = p.alerts.quoteWatcher(),
                    .whenPagesShown = p.web.whenPagesShown()});
    p.windows.setNeeds({.settings = &state.settings, .paths = &state.paths});
    p.chart.setNeeds(
        {.settings = &state.settings,
         .session = &state.session,
         .paths = &state.paths,
         .syncTables = &state.sync,
         .appRunning = &state.appRunning,
         .showTerms = [parts = &p](const QString& url,
                                   const QString& key) { parts->windows.showTerms(url, key); },
         .alerts = chartAlertActions(p.alerts)});
    p.media.setNeeds({.paths = &state.paths});
}

// The notices, the price alerts, the main window and the member part, which reach each other
// through hooks.
void wireWindowParts(ClientParts& p, kovan::ProgramState& state, const kovan::CommandLine& cl,
                     const kovan::DesktopSession& desktop, const std::function<void()>& exitNow) {
    using namespace kovan;
    p.alerts.setNeeds({.syncTables = &state.sync,
                       .paths = &state.paths,
                       .raiseNotice =
                           [parts = &p](const QString& title, const QString& content,
                                        const QString& viewAct, const QString& viparam) {
                               parts->notify.raiseNotice(title, content, viewAct, viparam);
                           },
                       .playNoticeSound = [parts = &p] { parts->notify.playNoticeSound(); },
                       .alertsChanged = [parts = &p] { parts->chart.refreshAlertLines(); }});
    PageHooks pages = p.web.pageHooks();
    pages.openChart = [parts = &p] { parts->chart.openChart(); };
    p.notify.setNeeds(
        {.session = &state.session,
         .news = &state.topInfoList,
         .realtimeSignals = &state.realtimeSignals,
         .paths = &state.paths,
         .showoptPage = pages.showoptPage,
         .playVideo = [parts = &p](const QString& t,
                                   const QString& u) { parts->media.playVideo(t, u); },
         .mainWindow = p.shell.mainWindowControls(),
         .openSymbolChart = [parts = &p](const QString& sym) { parts->chart.openSymbolChart(sym); },
         .settings = &state.settings,
         .desktop = &desktop});
    p.shell.setNeeds(
        {.session = &state.session,
         .paths = &state.paths,
         .syncTables = &state.sync,
         .appRunning = &state.appRunning,
         .hooks = {.pages = pages,
                   .floatBarShowing = [parts = &p] { return parts->notify.floatBarShowing(); },
                   .showFloatBar = [parts =
                                        &p](bool toFront) { parts->notify.showFloatBar(toFront); },
                   .showNewestNotice = [parts = &p] { parts->notify.showNewestNotice(); },
                   .showPriceAlerts = [parts = &p] { parts->alerts.openWindow(); },
                   .logIMGClick = [parts = &p] { parts->member.logIMGClick(); },
                   .exitProcedure = exitNow},
         .sectionViews = p.web.sectionViews(),
         .sounds = p.notify.sounds(),
         .startedAtLogin = cl.autostart,
         // Started at login the way it runs now: this program, this folder when one was given.
         .autostartCommand = AutostartEntry::commandFor(
             QCoreApplication::applicationFilePath(),
             cl.programDir.isEmpty() ? QString() : state.paths.programDir),
         .sysNotifyChecked = [parts = &p] { return parts->notify.sysNotifyOn(); },
         .setSysNotify = [parts = &p](bool on) { parts->notify.setSysNotify(on); }});
    p.member.setNeeds(
        {.session = &state.session,
         .settings = &state.settings,
         .paths = &state.paths,
         .appRunning = &state.appRunning,
         .showMemberState =
             [parts = &p](bool m, const QString& label) { parts->shell.showMemberState(m, label); },
         .forceReload =
             [parts = &p](const QString& types) {
                 parts->web.sectionPagesForSync()->forceReload(types);
             },
         .exitProcedure = exitNow,
         .openUrl = &MemberModule::openInSystemBrowser});
}

// `lock`: the program folder's, held by this process unless the start could not take it;
// `channel`: where later starts find this client.
int runClient(const kovan::CommandLine& cl, kovan::FolderLock& lock,
              const kovan::FolderChannel& channel) {
    using namespace kovan;
    Lifecycle lifecycle;
    CommandRegistry registry; // the page commands of every part; outlives the views
    ProgramState& state = program();
    ExitProcedure exitProcedure(lifecycle, state.appRunning);
    const auto exitNow = [&] { exitProcedure.run(); };

    // What the platform lets windows do, for the parts that place them.
    const DesktopSession desktop = DesktopSession::of(QGuiApplication::platformName());
    ClientParts parts;
    wireContentParts(parts, state);
    wireWindowParts(parts, state, cl, desktop, exitNow);
    parts.instance.setNeeds(
        {.lock = &lock,
         .socketPath = channel.socketPath,
         .raise = [shell = &parts.shell](
                      const QByteArray& startupId) { shell->bringToFront(startupId); },
         .exitProcedure = exitNow});

    // Page commands, then start-up and exit steps, of every part.
    for (ClientPart* part : parts.all())
        part->registerCommands(registry);
    for (ClientPart* part : parts.all())
        part->addSteps(lifecycle);

    UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, &exitProcedure,
                     [&](int) { exitProcedure.run(); });

    StartupProcedure startup(lifecycle, cl.sessionBlock, parts.shell.form());
    if (const auto outcome = startup.run(); outcome != StartupProcedure::Outcome::Running) {
        trace(outcome == StartupProcedure::Outcome::EndNow
                  ? QStringLiteral("ended at start-up")
                  : QStringLiteral("ended after creating windows"));
        return 0;
    }
    parts.shell.show();
    parts.instance.listen(); // start-up is over: later starts hand over to this client
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

    // The desktop's start-up id of this start, for the client it may hand over to: the
    // application object takes it out of the environment.
    const QByteArray startupId = qgetenv("DESKTOP_STARTUP_ID");
    prepareApplication();
    KovanApplication app(argc, argv);
    finishApplication(app);
    const FolderSettled folder = settleProgramFolder(cl);
    if (folder == FolderSettled::OtherAccount)
        return 2; // nothing of that folder is touched, the log included

    // A client that runs for the folder already takes this start over (or --quit's request)
    // before anything of this run is written; otherwise the folder's lock is this process's
    // until it ends.
    const FolderChannel channel = FolderChannel::of(program().paths.programDir);
    FolderLock lock(channel.lockPath);
    if (const std::optional<int> rc = handOverToRunningClient(cl, startupId, channel, lock))
        return *rc;

    // Lines reach <dir>/logs once start-up has made that folder (or from the start when an
    // earlier run made it). The log outlives the workers joined below.
    TraceLog log(program().paths.programDir + QStringLiteral("logs"));
    trace(QStringLiteral("kovan ") + CommandLine::version() + QStringLiteral(" in ") +
          program().paths.programDir);
    if (folder == FolderSettled::NotMade)
        trace(QStringLiteral("cannot make the program folder"));

    if (!channel.problem.isEmpty())
        trace(QStringLiteral("hand-over: no channel: ") + channel.problem);
    const int rc = runClient(cl, lock, channel);
    // Workers that outlived their owners (a download, a sound) are stopped and joined here,
    // while the application object still exists: none runs during static destruction.
    WorkerThread::reapAll();
    trace(QStringLiteral("process ends"));
    return rc;
}
