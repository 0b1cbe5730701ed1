#pragma once

#include "core/Guarded.h"
#include "core/NameValueList.h"

#include <QJsonObject>
#include <QStringList>

namespace kovan {

// The tables the sync worker rewrites from each reply. They live behind one lock
// (SharedSyncTables) so that no reader ever sees one table updated and another not: the rates
// ticker's worker reads codes and quotes together, the GUI thread reads symbolInfo for the
// charts, the sync worker writes all of them.
struct SyncTables {
    QJsonObject symbolInfo;   // symbol code → {showname, minpip, piplen, basepip}
    QStringList symbolCodes;  // member names of symbolInfo, ascending
    NameValueList quoteTable; // S_showname, S_BID, S_CG
    QJsonObject syncState;    // each content section's stamp and change flag

    static QJsonObject initialSyncState();
    // Empty tables and the initial sync state.
    static SyncTables initial();
};

// Any thread, only through the lock.
using SharedSyncTables = Guarded<SyncTables>;

} // namespace kovan
