#pragma once

#include "core/Guarded.h"

#include <QList>
#include <QString>

namespace kovan {

// One news item of the floating bar's ticker.
struct topInfoRuntimeRecord {
    qint32 evID = 0;
    QString evType; // "rdnt" for sync items, the page's type for addfloatmsg
    qint32 impant = 0;
    QString title;
    qint32 expired = 0; // local wall-clock seconds since 1970-01-01 00:00; 0 = never

    bool operator==(const topInfoRuntimeRecord&) const = default;
};

// The news list (topInfoList), in arrival order. Shared by the sync worker (appends items of
// each reply), the GUI thread (addfloatmsg, the floating bar) and the news ticker's worker
// (reads, drops expired items): any thread, only through its lock.
using NewsList = Guarded<QList<topInfoRuntimeRecord>>;

} // namespace kovan
