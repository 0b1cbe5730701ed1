#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program folder for one client run, with a fake companion script "zrs" that records its
// arguments and working folder in zrs.log and then stays running for a while.
class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return m_dir.path() + '/'; }
    QString file(const QString& name) const { return path() + name; }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void installScriptCompanion() const;
    // The companion's log lines: "args|cwd".
    QStringList companionLog() const;
    // The client's log files logs/kovan-*.log, oldest first, joined.
    QByteArray clientLog() const;

private:
    QTemporaryDir m_dir;
};

namespace kovan::test {
struct OtherAccount;
}

// The client process under test, with tracing on, an offscreen display and unreachable
// servers.
class ClientRun {
public:
    ClientRun(const ProgramFolder& folder, const QString& sessionBlock);
    ~ClientRun();

    // Without KOVAN_TRACE: what a user's run shows (waitForTrace then sees nothing).
    void withoutTrace() { m_trace = false; }
    // A runtime folder (XDG_RUNTIME_DIR) of this run's own.
    void useRuntimeFolder(const QString& folder) { m_runtimeFolder = folder; }
    // A variable of the client's environment set (a null value: removed) after the run's own,
    // e.g. QT_QPA_PLATFORM and DISPLAY for a real X server, a private session bus.
    void setEnvironment(const QString& name, const QString& value) {
        m_extraEnv.append({name, value});
    }
    // Runs `program` (a copy of the client the account can read) as `account`, with `home` as
    // its HOME, and with the web engine's page sandbox as a user's run has it.
    void runAs(const kovan::test::OtherAccount* account, const QString& program,
               const QString& home);
    void start(const QStringList& extraArgs = {});
    // Waits until stderr holds `line` (a trace line without the "kovan: " prefix).
    bool waitForTrace(const QString& line, int ms = 30000);
    // Waits until stderr holds `fragment` anywhere.
    bool waitForText(const QString& fragment, int ms = 30000);
    bool waitForExit(int ms = 30000);
    void terminate() { m_process.terminate(); }
    // The end of a run: SIGTERM, the wait for the exit, the session block and the companion's
    // block removed, every "zrs" ended. Returns whether the client ended.
    bool endRun();
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    QString traceText();
    qint64 pid() const { return m_process.processId(); }

private:
    const ProgramFolder& m_folder;
    QString m_block;
    QProcess m_process;
    QString m_stderr;
    bool m_trace = true;
    QString m_runtimeFolder;
    QList<QPair<QString, QString>> m_extraEnv;
    const kovan::test::OtherAccount* m_account = nullptr;
    QString m_program;
    QString m_home;
};

// Names of running processes whose /proc/PID/comm equals `comm`.
int countProcesses(const QString& comm);
void killAll(const QString& comm);
