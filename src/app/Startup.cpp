#include "app/Startup.h"

#include "core/ConfigFile.h"
#include "core/Errors.h"
#include "core/JsonParams.h"
#include "core/Lifecycle.h"
#include "core/LogScrubber.h"
#include "core/PrivateFiles.h"
#include "core/Processes.h"
#include "core/ProgramState.h"
#include "core/SharedBlock.h"
#include "core/Trace.h"
#include "core/Utils.h"
#include "shell/KovanApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace kovan {

namespace {

QString companionPath() {
    return program().paths.programDir + QStringLiteral("zrs");
}

QString stagedCompanionPath() {
    return program().paths.programDir + QStringLiteral("cache/zrs");
}

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

// Program-wide documents and lists start afresh.
void clearProgramDocuments(ProgramState& p) {
    p.realtimeSignals = RealtimeSignals();
    p.sync.with([](SyncTables& t) {
        t.syncState = SyncTables::initialSyncState();
        t.symbolInfo = QJsonObject();
        t.quoteTable.clear();
    });
    p.settings.clear();
}

} // namespace

StartupProcedure::StartupProcedure(const Lifecycle& lifecycle, QString sessionBlockName,
                                   QObject* errorSender)
    : m_lifecycle(lifecycle), m_sessionBlockName(std::move(sessionBlockName)),
      m_errorSender(errorSender) {}

StartupProcedure::Outcome StartupProcedure::run() {
    // Step 1, the application-wide error handler, is the application object itself
    // (KovanApplication::notify); work outside event handlers goes through guarded().
    Outcome outcome = Outcome::Running;
    KovanApplication::guarded(m_errorSender, [&] { outcome = runSteps(); });
    return outcome;
}

void StartupProcedure::startCompanion() {
    const bool started = kovan::startCompanion(companionPath(), program().paths.programDir);
    trace(started ? QStringLiteral("companion started") : QStringLiteral("companion not started"));
}

bool StartupProcedure::companionUpdate() {
    const QString staged = stagedCompanionPath();
    if (!QFileInfo::exists(staged))
        return false;
    const QString current = companionPath();
    if (getFileVersion(staged) == getFileVersion(current))
        return false;
    trace(QStringLiteral("companion update"));
    killProcessesByName(current);
    QFile::remove(current);
    shellMoveFile(staged, current); // results not checked: the companion is started either way
    startCompanion();
    return true;
}

void StartupProcedure::createFolders() {
    static const char* const folders[] = {"cache", "logs", "sound", "screenshots", "resource"};
    QDir dir(program().paths.programDir);
    for (const char* name : folders) {
        const QString folder = QString::fromLatin1(name);
        // A plain file of that name is no folder: creating it fails like any other error. In
        // a per-user program folder (0700) the folders are made 0700 too.
        if (!QFileInfo(dir.filePath(folder)).isDir() && !makeFolder(dir.filePath(folder)))
            throw FileOpenError("Cannot create folder " + dir.filePath(folder).toStdString());
    }
}

void StartupProcedure::loadSettings() {
    ProgramState& p = program();
    p.settings.setLines(configfile::load(p.settings.filePath()));
    logScrubber().addSettingsSecrets(p.settings);
    configfile::normaliseLocalAlert(p.settings, fileExists);
}

std::optional<StartupProcedure::Outcome> StartupProcedure::takeSession() {
    // 3-6. The session the companion published.
    const SessionBlockRead block = readSessionBlock(m_sessionBlockName);
    if (block.status == SessionBlockRead::Status::Missing) {
        trace(QStringLiteral("no session block"));
        startCompanion();
        return Outcome::EndNow;
    }
    if (block.status == SessionBlockRead::Status::Refused) {
        // Another account's block, or one others may write: its session is not the user's.
        trace(QStringLiteral("session block refused: ") + block.problem);
        startCompanion();
        return Outcome::EndAfterWindows;
    }
    if (block.status == SessionBlockRead::Status::Unmappable) {
        trace(QStringLiteral("session block unmappable"));
        startCompanion();
        return Outcome::EndAfterWindows;
    }
    const PublishedSession session = parsePublishedSession(block.text);
    if (!session.usable) {
        trace(QStringLiteral("no usable session"));
        startCompanion();
        return Outcome::EndAfterWindows;
    }

    // 7. The session becomes the client's.
    ProgramState& p = program();
    p.session.sessInfoText = block.text;
    p.session.setSessid(session.sessid);
    m_lifecycle.runStart(StartStep::SessionTaken);
    return std::nullopt;
}

StartupProcedure::Outcome StartupProcedure::runSteps() {
    ProgramState& p = program();

    // 2. A staged newer companion replaces the current one; the client hands over and ends.
    if (companionUpdate())
        return Outcome::EndNow;

    // 3-7. The session the companion published becomes the client's.
    if (const std::optional<Outcome> end = takeSession())
        return *end;

    // 8. The companion has done its part.
    killProcessesByName(companionPath());

    // 9.
    p.appRunning.set(true);
    m_lifecycle.runStart(StartStep::AppRunning);

    // 10.
    createFolders();

    // 11.
    clearProgramDocuments(p);
    m_lifecycle.runStart(StartStep::LoadImages);

    // 12.
    loadSettings();

    // 13-20.
    for (StartStep step : {StartStep::ShowFirstSection, StartStep::LoadEarnGif, StartStep::LoadSkin,
                           StartStep::AddTrayIcon, StartStep::AttachScriptHosts,
                           StartStep::NavigateSections, StartStep::StartWorkers, StartStep::SignIn})
        m_lifecycle.runStart(step);
    trace(QStringLiteral("start-up done"));
    return Outcome::Running;
}

} // namespace kovan
