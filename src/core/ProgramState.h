#pragma once

#include "core/Endpoints.h"
#include "core/Guarded.h"
#include "core/LogScrubber.h"
#include "core/NameValueList.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

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

// The tables the sync worker writes and other threads read. They live behind one lock so that
// no reader ever sees one table updated and another not (the ticker reads codes and quotes
// together; request workers read sessid).
struct SyncTables {
    QString sessid;
    QJsonObject symbolInfo;   // symbol code → {showname, minpip, piplen, basepip}
    QStringList symbolCodes;  // member names of symbolInfo, ascending
    NameValueList quoteTable; // S_showname, S_BID, S_CG
    QJsonObject syncState;    // LUDsign … mktsCHG

    static QJsonObject initialSyncState();
};

// A session id the client can use: not empty, at most kMaxSessidLength characters, no control
// characters (line breaks included) and not "." or ".." (which an address would read as a path
// step even when percent-encoded). A session block, a sync reply or a login reply with any
// other id is treated as holding no usable session.
inline constexpr qsizetype kMaxSessidLength = 1024;
bool isUsableSessid(QStringView id);

// The program-wide state. Which thread may touch what:
//  - sync, topInfoList: any thread, only through their locks (Guarded);
//  - appRunning: any thread (atomic);
//  - everything else: the GUI thread only.
class ProgramState {
public:
    ProgramState();

    // Back to the values the start-up procedure creates (tests use it between cases).
    void reset();

    QString sessid() const {
        return sync.with([](const SyncTables& t) { return t.sessid; });
    }
    void setSessid(const QString& id) {
        logScrubber().addSecret(id); // a session id lives in memory only, never in a log file
        sync.with([&id](SyncTables& t) { t.sessid = id; });
    }

    bool appRunning() const { return m_appRunning.load(std::memory_order_acquire); }
    void setAppRunning(bool on) { m_appRunning.store(on, std::memory_order_release); }

    // Writes `settings` to <programDir>config.dat. Throws FileOpenError; the in-memory values
    // stay as they are.
    void saveConfig() const;
    QString configPath() const { return programDir + QStringLiteral("config.dat"); }

    Guarded<SyncTables> sync;
    Guarded<QList<topInfoRuntimeRecord>> topInfoList;

    // GUI thread only.
    QString sessInfoText;
    QJsonObject realtimeSignals;
    NameValueList settings;
    QString programDir; // absolute, with a trailing "/"
    Endpoints endpoints;

private:
    std::atomic<bool> m_appRunning{false};
};

// The one instance of the process.
ProgramState& program();

} // namespace kovan
