#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace kovan {

// Helpers for ISectionPages::checkRefresh (GUI thread): which section views the latest sync
// reply marked as changed, and the script each loaded one runs.

// The views whose flag is 1 in `syncState`, in the order (signCHG, "sgWeb"),
// (artsCHG, "ayWeb"), (planCHG, "plWeb"), (mktsCHG, "dtWeb"). The right-hand column has no
// stamp and never appears.
QStringList changedSectionViews(const QJsonObject& syncState);

// "reloadCheck('" + sessid + "')" with every single quote inside the session id doubled.
QString reloadCheckScript(const QString& sessid);

} // namespace kovan
