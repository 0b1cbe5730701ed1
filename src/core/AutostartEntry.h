#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kovan {

// The user's start-at-login entry, `$XDG_CONFIG_HOME/autostart/kovan.desktop` (the XDG
// Autostart folder; `~/.config/autostart/` when XDG_CONFIG_HOME is unset or not an absolute
// path): a Desktop Entry whose Exec starts this client with --autostart (and --dir when the
// client runs with one). The session starts it a few seconds after login, on KDE once the panel
// is up, so that the tray usually exists by then.
//
// Plain files, no GUI; any thread, though the client keeps it on the GUI thread.
class AutostartEntry {
public:
    // `path`: the entry's file; `command`: the program and its arguments, unquoted.
    AutostartEntry(QString path, QStringList command);

    // The entry's file for `xdgConfigHome` (the variable's value, maybe empty) and `home`.
    static QString pathFor(const QString& xdgConfigHome, const QString& home);
    // The same for this process's environment and home folder.
    static QString userPath();
    // `program` (the running executable, absolute) with --autostart, then --dir `programDir`
    // unless that is empty.
    static QStringList commandFor(const QString& program, const QString& programDir);
    // One argument as the Exec key's quoting rules want it (before the string escapes of the
    // file: see text()).
    static QString quoteExecArgument(const QString& argument);

    const QString& path() const { return m_path; }
    const QStringList& command() const { return m_command; }
    // The file's contents, UTF-8.
    QByteArray text() const;

    bool exists() const;
    // Writes the entry atomically, making the folder when missing; false with the reason.
    bool write(QString* error = nullptr) const;
    // Removes the entry; true when it is gone (also when there was none).
    bool remove(QString* error = nullptr) const;

private:
    QString m_path;
    QStringList m_command;
};

} // namespace kovan
