// Program entry: the instance marker, the command line, the eight windows, the message loop.

#include "app/Startup.h"
#include "app/UnixSignalWatcher.h"
#include "core/CommandLine.h"
#include "core/ProgramState.h"
#include "core/SharedBlock.h"
#include "core/Trace.h"
#include "media/TvdoForm.h"
#include "net/SoundAlerts.h"
#include "net/SyncController.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"
#include "shell/KovanApplication.h"
#include "shell/RatesTicker.h"
#include "shell/SkinImages.h"
#include "shell/StatusBand.h"
#include "shell/TMainForm.h"
#include "web/CommandRegistry.h"
#include "web/ContentPane.h"
#include "web/HostWebView.h"
#include "web/LectureConfig.h"
#include "web/SectionPages.h"
#include "web/WebCommands.h"
#include "web/WebEngineSetup.h"
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

    prepareWebEngine(); // the page bridge's scheme must exist before the application object
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

    // The section views and the content pane; they live as long as the main window.
    auto* sectionPages = new SectionPages(mainForm.get());
    auto* contentPane = new ContentPane(mainForm->ConBgPae(), mainForm->bgMPae());
    sectionPages->tileImage = [] { return skin().top(13); };
    mainForm->setSectionViews(sectionPages->view(u"sign"), sectionPages->view(u"arts"),
                              sectionPages->view(u"plan"), sectionPages->view(u"mkte"),
                              sectionPages->view(u"rpae"));
    PageHooks& pageHooks = mainForm->pageHooks();
    pageHooks.runPageScript = [sectionPages](const QString& view, const QString& script) {
        if (HostWebView* v = sectionPages->viewNamed(view))
            v->runScript(script);
    };
    pageHooks.pageBody = [sectionPages](const QString& view,
                                        std::function<void(const QString&)> done) {
        sectionPages->pageBody(view, std::move(done));
    };
    pageHooks.navigateView = [sectionPages](const QString& view, const QString& url) {
        if (HostWebView* v = sectionPages->viewNamed(view))
            v->navigate(QUrl(url));
    };
    pageHooks.showoptPage = [contentPane](const QString& title, const QString& params,
                                          int staytitle, const QString& destory) {
        contentPane->showoptPage(title, params, staytitle, destory);
    };

    // The one-second sync loop; the exit procedure waits for its worker to end.
    // Declared after the main window so that it goes first: a worker still running must never
    // reach the window's rates ticker after the ticker is gone.
    auto syncOwner = std::make_unique<SyncController>(sectionPages, mainForm->ratesTicker());
    SyncController* sync = syncOwner.get();
    mainForm->syncWorkerRunning = [sync] { return sync->hasWorker(); };

    // Sound alerts own the speaker switch; the status band shows it and passes its clicks on.
    auto* sounds = new SoundAlerts(state.programDir + QStringLiteral("sound"), mainForm.get());
    StatusBand* band = mainForm->statusBand();
    band->audopenimgClicked = [sounds] { sounds->audopenimgClick(); };
    band->audcloseimgClicked = [sounds] { sounds->audcloseimgClick(); };
    QObject::connect(sounds, &SoundAlerts::switchChanged, band, &StatusBand::showSoundSwitch);
    band->showSoundSwitch(sounds->isOn());

    // Page-callable methods of the main window that take one text.
    commandRegistry().add(QStringLiteral("audioPlay"),
                          [sounds](const QString& p) { return sounds->audioPlay(p); });
    commandRegistry().add(QStringLiteral("switchPae"),
                          [form = mainForm.get()](const QString& p) { return form->switchPae(p); });

    StartupSteps steps;
    steps.loadImages = [form = mainForm.get()] { form->loadStartImages(); };
    steps.loadEarnGif = [form = mainForm.get()] { form->loadEarnGif(); };
    steps.loadSkin = [form = mainForm.get()] { form->loadSkin(); };
    steps.showFirstSection = [form = mainForm.get(), contentPane] {
        contentPane->ConWeb()->navigate(QUrl(QStringLiteral("about:blank")));
        form->showFirstSection();
    };
    steps.attachScriptHosts = [sectionPages, contentPane] {
        QList<QPixmap> frames;
        for (const QImage& frame : skin().loadingFrames)
            frames.append(QPixmap::fromImage(frame));
        contentPane->setLoadingFrames(frames);
        contentPane->setTitleImage(QPixmap::fromImage(skin().top(14)));
        contentPane->setButtonImages(QPixmap::fromImage(skin().ibtn(10)),
                                     QPixmap::fromImage(skin().ibtn(11)),
                                     QPixmap::fromImage(skin().ibtn(12)));
        sectionPages->attachScriptHosts(commandRegistry());
        contentPane->attachScriptHost(commandRegistry());
    };
    steps.navigateSections = [sectionPages] { sectionPages->navigateSections(); };
    steps.startSyncWorker = [sync] { sync->start(); };
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

    // Page commands of the web part; the windows they open exist from here on.
    lectureForm->shownormalwindow = [w = webForm.get()](const QString& t, const QString& u) {
        w->shownormalwindow(t, u);
    };
    WebCommandTargets webTargets;
    webTargets.contentPane = contentPane;
    webTargets.sectionPages = sectionPages;
    webTargets.shownormalwindow = lectureForm->shownormalwindow;
    webTargets.showLecture = [f = lectureForm.get()] {
        return f->showLecture(
            LectureConfig::fromSettings(program().settings, program().endpoints.pageServer.root()));
    };
    registerWebCommands(commandRegistry(), webTargets);

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
