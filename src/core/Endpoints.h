#pragma once

#include <QString>

namespace kovan {

struct HostPort {
    QString host;
    quint16 port = 80;

    // "http://host:port" without a trailing slash.
    QString root() const { return QStringLiteral("http://") + host + u':' + QString::number(port); }
    // "host:port", the form chart windows and pages are handed.
    QString hostAndPort() const { return host + u':' + QString::number(port); }

    // Parses "HOST" or "HOST:PORT"; a missing port takes `defaultPort`. False on a bad port or
    // an empty host.
    static bool parse(const QString& text, quint16 defaultPort, HostPort* out);
};

// The three endpoints of the service. Fixed settings of the client, replaceable on the
// command line (see README).
struct Endpoints {
    HostPort dataServer{QStringLiteral("data.langou-signals.cn"), 88};
    HostPort pageServer{QStringLiteral("page.langou-signals.cn"), 88};
    HostPort webSite{QStringLiteral("www.langou-signals.cn"), 80};
};

} // namespace kovan
