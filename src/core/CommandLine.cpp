#include "core/CommandLine.h"

#include "core/KovanVersion.h"

#include <QDir>

namespace kovan {

QString CommandLine::version() {
    return QStringLiteral(KOVAN_VERSION);
}

QString CommandLine::usage() {
    return QStringLiteral(
        "Usage: kovan [--dir DIR] [--data-server HOST[:PORT]] [--page-server HOST[:PORT]]\n"
        "             [--web-site HOST[:PORT]] [--session-block NAME] [--autostart]\n"
        "       kovan [--dir DIR] --quit\n"
        "\n"
        "  --dir DIR                 program folder (default: the executable's folder; when\n"
        "                            installed or that folder is read-only, the per-user\n"
        "                            folder $XDG_DATA_HOME/kovan, ~/.local/share/kovan)\n"
        "  --data-server HOST[:PORT] data server (port 88 when omitted)\n"
        "  --page-server HOST[:PORT] page server (port 88 when omitted)\n"
        "  --web-site HOST[:PORT]    public web site (port 80 when omitted)\n"
        "  --session-block NAME      shared-memory session block (default\n"
        "                            KOVANUSERSHARE.<uid>, the account's user id)\n"
        "  --autostart               started at login: the main window starts in the tray\n"
        "                            (minimised where there is no tray)\n"
        "  --quit                    end the client that runs for the program folder\n"
        "  --help                    show this text\n"
        "  --version                 show the version\n");
}

CommandLine CommandLine::parse(const QStringList& args) {
    CommandLine cl;
    const auto fail = [&cl](const QString& why) {
        cl.outcome = Outcome::Error;
        cl.message = why;
        return cl;
    };
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        bool hasValue = false;
        if (name == u"--help" || name == u"-h") {
            cl.outcome = Outcome::Help;
            cl.message = QStringLiteral("kovan ") + version() + QStringLiteral("\n\n") + usage();
            return cl;
        }
        if (name == u"--version") {
            cl.outcome = Outcome::Version;
            cl.message = QStringLiteral("kovan ") + version() + u'\n';
            return cl;
        }
        if (name == u"--autostart" || name == u"--quit") {
            cl.options.append(name);
            (name == u"--quit" ? cl.quit : cl.autostart) = true;
            continue;
        }
        if (name.startsWith(u"--") && name.contains(u'=')) {
            value = name.mid(name.indexOf(u'=') + 1);
            name.truncate(name.indexOf(u'='));
            hasValue = true;
        }
        static const QStringList known = {QStringLiteral("--dir"), QStringLiteral("--data-server"),
                                          QStringLiteral("--page-server"),
                                          QStringLiteral("--web-site"),
                                          QStringLiteral("--session-block")};
        if (!known.contains(name))
            return fail(QStringLiteral("kovan: unknown option '%1'").arg(args[i]));
        cl.options.append(name);
        if (!hasValue) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("kovan: option '%1' needs a value").arg(name));
            value = args[++i];
        }
        if (name == u"--dir") {
            if (value.isEmpty())
                return fail(QStringLiteral("kovan: --dir needs a folder"));
            QString dir = QDir(value).absolutePath();
            if (!dir.endsWith(u'/'))
                dir += u'/';
            cl.programDir = dir;
        } else if (name == u"--session-block") {
            if (value.isEmpty() || value.contains(u'/'))
                return fail(QStringLiteral("kovan: bad session block name '%1'").arg(value));
            cl.sessionBlock = value;
        } else {
            HostPort* target = name == u"--data-server"   ? &cl.endpoints.dataServer
                               : name == u"--page-server" ? &cl.endpoints.pageServer
                                                          : &cl.endpoints.webSite;
            const quint16 defaultPort = name == u"--web-site" ? 80 : 88;
            if (!HostPort::parse(value, defaultPort, target))
                return fail(QStringLiteral("kovan: bad address '%1' for %2").arg(value, name));
        }
    }
    return cl;
}

} // namespace kovan
