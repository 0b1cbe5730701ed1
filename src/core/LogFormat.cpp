#include "core/LogFormat.h"

#include <QRegularExpression>

#include <algorithm>

namespace kovan {

QString logFileName(QDate day) {
    return QStringLiteral("kovan-") + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".log");
}

QByteArray logLine(const QDateTime& at, const QString& text) {
    QString line = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz "));
    line.reserve(line.size() + text.size() + 1);
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            line += u'|';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            line += u' ';
        else
            line += c;
    }
    line += u'\n';
    return line.toUtf8();
}

QStringList logFilesToRemove(const QStringList& names, int keep, const QString& current) {
    static const QRegularExpression pattern(QStringLiteral("^kovan-\\d{8}\\.log$"));
    QStringList logs;
    for (const QString& name : names)
        if (name != current && pattern.match(name).hasMatch())
            logs.append(name);
    // Newest first: the date in the name sorts as text.
    std::sort(logs.begin(), logs.end(), std::greater<QString>());
    const qsizetype othersKept = std::max(0, pattern.match(current).hasMatch() ? keep - 1 : keep);
    return logs.mid(std::min(othersKept, logs.size()));
}

} // namespace kovan
