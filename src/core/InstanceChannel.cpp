#include "core/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace kovan {

QString instanceFolderKey(const QString& programDir) {
    const QString canonical = QFileInfo(programDir).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    return QDir::cleanPath(QDir(programDir).absolutePath());
}

QString instanceChannelName(const QString& folderKey) {
    const QByteArray digest =
        QCryptographicHash::hash(folderKey.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("kovan-") + QString::fromLatin1(digest.left(16));
}

QString instanceLockName(const QString& folderKey) {
    return instanceChannelName(folderKey) + QStringLiteral(".lock");
}

} // namespace kovan
