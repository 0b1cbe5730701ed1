#include "core/AutostartEntry.h"

#include "core/AtomicFile.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kovan {

namespace {

// Characters that make an Exec argument need quotes in a desktop entry (freedesktop.org's
// rules for the Exec key).
constexpr QStringView kReserved = u" \t\n\"'\\><~|&;$*?#()`";

// The string escapes of a value in the file: applied after the quoting rule, so a backslash
// inside quotes becomes four in the file.
QString escapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

AutostartEntry::AutostartEntry(QString path, QStringList command)
    : m_path(std::move(path)), m_command(std::move(command)) {}

QString AutostartEntry::pathFor(const QString& xdgConfigHome, const QString& home) {
    // The XDG base directories ignore a relative XDG_CONFIG_HOME.
    const QString config = QDir::isAbsolutePath(xdgConfigHome)
                               ? xdgConfigHome
                               : QDir(home).filePath(QStringLiteral(".config"));
    return QDir::cleanPath(config + QStringLiteral("/autostart/kovan.desktop"));
}

QString AutostartEntry::userPath() {
    return pathFor(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

QStringList AutostartEntry::commandFor(const QString& program, const QString& programDir) {
    QStringList command{program, QStringLiteral("--autostart")};
    if (!programDir.isEmpty())
        command << QStringLiteral("--dir") << QDir::cleanPath(programDir);
    return command;
}

QString AutostartEntry::quoteExecArgument(const QString& argument) {
    QString quoted;
    const bool needsQuotes =
        argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return kReserved.contains(c); });
    if (!needsQuotes) {
        quoted = argument;
    } else {
        quoted = u'"';
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted += u'"';
    }
    // A literal percent sign would start a field code.
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

QByteArray AutostartEntry::text() const {
    QStringList exec;
    for (const QString& argument : m_command)
        exec << quoteExecArgument(argument);
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=朗鸥策略\n"
                                        "Comment=Trading signals at login\n"
                                        "Exec=%1\n"
                                        "Icon=kovan\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n"
                                        "X-GNOME-Autostart-Delay=5\n"
                                        "X-KDE-autostart-after=panel\n")
                             .arg(escapeValue(exec.join(u' ')));
    return text.toUtf8();
}

bool AutostartEntry::exists() const {
    return QFileInfo(m_path).isFile();
}

bool AutostartEntry::write(QString* error) const {
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot make ") + folder;
        return false;
    }
    return writeFileAtomically(m_path, text(), error);
}

bool AutostartEntry::remove(QString* error) const {
    QFile file(m_path);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace kovan
