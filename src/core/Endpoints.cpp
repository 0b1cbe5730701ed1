#include "core/Endpoints.h"

namespace kovan {

bool HostPort::parse(const QString& text, quint16 defaultPort, HostPort* out) {
    QString host = text.trimmed();
    quint16 port = defaultPort;
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon >= 0) {
        bool ok = false;
        const uint p = host.mid(colon + 1).toUInt(&ok);
        if (!ok || p == 0 || p > 65535)
            return false;
        port = quint16(p);
        host.truncate(colon);
    }
    if (host.isEmpty())
        return false;
    out->host = host;
    out->port = port;
    return true;
}

} // namespace kovan
