#include "X11Desktop.h"

#include <QProcess>
#include <QRegularExpression>

namespace kovan::test {

bool X11Desktop::start(QString* why) {
    return m_server.start(why) && m_manager.start(m_server, why);
}

QString X11Desktop::tool(const QString& program, const QStringList& args) const {
    QProcess p;
    p.setProcessEnvironment(m_server.environment());
    p.start(program, args);
    if (!p.waitForFinished(10000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

quint64 X11Desktop::windowIdIn(const QString& text) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("0x[0-9a-fA-F]+")).match(text);
    return m.hasMatch() ? m.captured().mid(2).toULongLong(nullptr, 16) : 0;
}

QList<quint64> X11Desktop::windowsOf(qint64 pid, const QString& title) const {
    QList<quint64> ids;
    const QStringList lines =
        tool(QStringLiteral("wmctrl"), {QStringLiteral("-lp")}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        // "0x00a0000c  0 12345 host title…"
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (f.size() >= 5 && f[2].toLongLong() == pid && f.mid(4).join(u' ') == title)
            ids.append(windowIdIn(f[0]));
    }
    return ids;
}

quint64 X11Desktop::activeWindow() const {
    return windowIdIn(tool(QStringLiteral("xprop"),
                           {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
}

QString X11Desktop::wmState(quint64 window) const {
    const QString text =
        tool(QStringLiteral("xprop"),
             {QStringLiteral("-id"), QString::number(window), QStringLiteral("WM_STATE")});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("window state: (\\w+)")).match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

QStringList X11Desktop::netWmState(quint64 window) const {
    const QString text =
        tool(QStringLiteral("xprop"),
             {QStringLiteral("-id"), QString::number(window), QStringLiteral("_NET_WM_STATE")});
    const qsizetype at = text.indexOf(u'=');
    if (at < 0)
        return {};
    QStringList atoms = text.mid(at + 1).split(u',', Qt::SkipEmptyParts);
    for (QString& a : atoms)
        a = a.trimmed();
    return atoms;
}

} // namespace kovan::test
