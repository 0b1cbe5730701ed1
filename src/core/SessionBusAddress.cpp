#include "core/SessionBusAddress.h"

#include <QFileInfo>

namespace kovan {

QString sessionBusAddress() {
    const QString given = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!given.isEmpty())
        return given;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    const QString socket = runtime + QStringLiteral("/bus");
    // The socket itself: not a regular file, not a folder.
    const QFileInfo info(socket);
    if (!info.exists() || info.isFile() || info.isDir())
        return {};
    return QStringLiteral("unix:path=") + socket;
}

} // namespace kovan
