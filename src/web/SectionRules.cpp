#include "web/SectionRules.h"

#include "core/Escaping.h"

#include <QDateTime>

namespace kovan::sections {

const QList<Section>& table() {
    static const QList<Section> rows = [] {
        QList<Section> out;
        for (const ContentSectionInfo& s : contentSections())
            out.append({s.pageKey, s.viewName, s.pagePath, s.initialViewTag, &s});
        out.append({"rpae", "rtWeb", "/tools/right/", 1, nullptr});
        return out;
    }();
    return rows;
}

const Section* find(QStringView key) {
    for (const Section& s : table()) {
        if (key == QLatin1StringView(s.key))
            return &s;
    }
    return nullptr;
}

QString startAddress(const QString& root, const Section& s, const QString& sessid) {
    return root + QLatin1StringView(s.path) + urlPathSegment(sessid) + u'/';
}

QString reloadAddress(const QString& root, const Section& s, const QString& sessid,
                      qint64 localSeconds) {
    const bool right = QLatin1StringView(s.key) == QLatin1StringView("rpae");
    return root + QLatin1StringView(s.path) + urlPathSegment(sessid) +
           (right ? QStringLiteral("/?") : QStringLiteral("/?rand=")) +
           QString::number(localSeconds);
}

qint64 localSecondsNow() {
    const QDateTime now = QDateTime::currentDateTime();
    // The wall-clock reading counted as seconds since 1970-01-01 00:00 of the same clock.
    const QDateTime asUtc(now.date(), now.time(), Qt::UTC);
    const qint64 ms = asUtc.toMSecsSinceEpoch();
    qint64 seconds = ms / 1000;
    const qint64 rest = ms % 1000;
    if (rest > 500 || (rest == 500 && (seconds % 2) != 0)) // nearest, ties to even
        ++seconds;
    return seconds;
}

QList<const Section*> rowsFor(QStringView types) {
    QList<const Section*> rows;
    const bool all = types == u"all";
    for (const Section& s : table()) {
        if (all || types == QLatin1StringView(s.key))
            rows.append(&s);
    }
    return rows;
}

int tagForDocument(QStringView outerHtml) {
    return outerHtml.contains(QLatin1StringView(kMarker), Qt::CaseSensitive) ? kApplicationPage : 1;
}

QString tileDocument(const QString& tileUrl) {
    return QStringLiteral("<body style=\"background:url(") + tileUrl +
           QStringLiteral(")\"></body>");
}

QString reloadCheckScript(const QString& sessid) {
    return QStringLiteral("reloadCheck(") + jsStringLiteral(sessid) + u')';
}

QString contentAddress(const QString& root, const QString& params) {
    return root + QStringLiteral("/tools/") + params;
}

} // namespace kovan::sections
