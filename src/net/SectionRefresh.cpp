#include "net/SectionRefresh.h"

#include "core/JsonParams.h"

namespace kovan {

QStringList changedSectionViews(const QJsonObject& syncState) {
    static const std::pair<const char16_t*, const char16_t*> pairs[] = {
        {u"signCHG", u"sgWeb"},
        {u"artsCHG", u"ayWeb"},
        {u"planCHG", u"plWeb"},
        {u"mktsCHG", u"dtWeb"},
    };
    QStringList views;
    for (const auto& [flag, view] : pairs)
        if (jsonInt(syncState, QStringView(flag)) == 1)
            views.append(QString::fromUtf16(view));
    return views;
}

QString reloadCheckScript(const QString& sessid) {
    QString quoted = sessid;
    quoted.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral("reloadCheck('") + quoted + QStringLiteral("')");
}

} // namespace kovan
