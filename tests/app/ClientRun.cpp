#include "ClientRun.h"

#include "core/Processes.h"
#include "core/SharedBlock.h"

#include "OtherAccount.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

ProgramFolder::ProgramFolder() {
    m_dir.setAutoRemove(true);
}

void ProgramFolder::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    f.write(bytes);
}

QByteArray ProgramFolder::readFile(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ProgramFolder::installScriptCompanion() const {
    writeFile("zrs", "#!/bin/sh\n"
                     "echo \"$*|$(pwd)\" >> \"$(dirname \"$0\")/zrs.log\"\n"
                     "sleep 20\n");
    QFile::setPermissions(file("zrs"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList ProgramFolder::companionLog() const {
    return QString::fromUtf8(readFile("zrs.log")).split('\n', Qt::SkipEmptyParts);
}

QByteArray ProgramFolder::clientLog() const {
    QByteArray text;
    const QDir logs(file("logs"));
    for (const QString& name : logs.entryList({"kovan-*.log"}, QDir::Files, QDir::Name))
        text += readFile("logs/" + name);
    return text;
}

ClientRun::ClientRun(const ProgramFolder& folder, const QString& sessionBlock)
    : m_folder(folder), m_block(sessionBlock) {}

ClientRun::~ClientRun() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

namespace {

// The runtime folder (XDG_RUNTIME_DIR) client runs get unless a run is given its own.
QString clientRuntimeFolder() {
    const QString given = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!given.isEmpty())
        return given;
    const QString xdg = QDir::tempPath() + "/kovan-test-xdg";
    QDir().mkpath(xdg);
    QFile::setPermissions(xdg, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return xdg;
}

} // namespace

void ClientRun::runAs(const kovan::test::OtherAccount* account, const QString& program,
                      const QString& home) {
    m_account = account;
    m_program = program;
    m_home = home;
}

void ClientRun::start(const QStringList& extraArgs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (m_trace)
        env.insert("KOVAN_TRACE", "1");
    else
        env.remove("KOVAN_TRACE");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The page sandbox cannot start as root; a run as another account keeps it.
    if (m_account)
        env.remove("QTWEBENGINE_DISABLE_SANDBOX");
    else if (::geteuid() == 0)
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("KOVAN_COMPANION_BLOCK", m_block + "-companion");
    env.insert("XDG_RUNTIME_DIR",
               m_runtimeFolder.isEmpty() ? clientRuntimeFolder() : m_runtimeFolder);
    if (m_account) {
        env.insert("HOME", m_home);
        env.remove("XDG_DATA_HOME");
        env.remove("XDG_CACHE_HOME");
        env.remove("XDG_CONFIG_HOME");
        const kovan::test::OtherAccount* account = m_account;
        m_process.setChildProcessModifier([account] { account->become(); });
    }
    for (const auto& [name, value] : m_extraEnv) {
        if (value.isNull())
            env.remove(name);
        else
            env.insert(name, value);
    }
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(m_folder.path());
    QStringList args{"--dir",         m_folder.path(), "--session-block", m_block,
                     "--data-server", "127.0.0.1:9",   "--page-server",   "127.0.0.1:9",
                     "--web-site",    "127.0.0.1:9"};
    args << extraArgs;
    m_process.start(m_account ? m_program : QStringLiteral(KOVAN_BIN_DIR "/kovan"), args);
    ASSERT_TRUE(m_process.waitForStarted(10000));
}

QString ClientRun::traceText() {
    m_stderr += QString::fromUtf8(m_process.readAllStandardError());
    return m_stderr;
}

bool ClientRun::waitForTrace(const QString& line, int ms) {
    return waitForText("kovan: " + line + "\n", ms);
}

bool ClientRun::waitForText(const QString& wanted, int ms) {
    QDeadlineTimer deadline(ms);
    while (!traceText().contains(wanted)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return traceText().contains(wanted);
        m_process.waitForReadyRead(100);
    }
    return true;
}

bool ClientRun::waitForExit(int ms) {
    const bool done = m_process.waitForFinished(ms);
    traceText();
    return done;
}

int countProcesses(const QString& comm) {
    int n = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f("/proc/" + entry + "/comm");
        if (f.open(QIODevice::ReadOnly) && QString::fromUtf8(f.readAll()).trimmed() == comm) {
            QFile stat("/proc/" + entry + "/stat");
            // Zombies (state Z) have ended already.
            if (stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z "))
                ++n;
        }
    }
    return n;
}

void killAll(const QString& comm) {
    kovan::killProcessesByName(comm);
    for (int i = 0; i < 100 && countProcesses(comm) > 0; ++i)
        QThread::msleep(20);
}

bool ClientRun::endRun() {
    terminate();
    const bool ended = waitForExit();
    kovan::removeSessionBlock(m_block);
    kovan::removeSessionBlock(m_block + "-companion");
    killAll(QStringLiteral("zrs"));
    return ended;
}
