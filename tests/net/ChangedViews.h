#pragma once

#include "core/JsonParams.h"

#include <QJsonObject>
#include <QStringList>

namespace kovan::test {

// For the sync tests' stand-ins of the section pages: the views whose flag the latest reply set,
// in the order (signCHG, "sgWeb"), (artsCHG, "ayWeb"), (planCHG, "plWeb"), (mktsCHG, "dtWeb").
inline QStringList changedSectionViews(const QJsonObject& syncState) {
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

} // namespace kovan::test
