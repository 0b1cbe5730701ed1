#pragma once

#include <QString>

#include <functional>
#include <set>
#include <vector>

namespace kovan {

class ChartController;

// One open chart window: its controller (owned by the window), its key, the instrument it was
// opened for, and an unused bid text.
struct CFGroupRecord {
    ChartController* CFP = nullptr;
    QString HKEY;
    QString SYM;
    QString BID;
};

// chartRegistry: the open chart windows in opening order, and the chart keys that name them to
// their panel pages and in every chart command. GUI thread only.
class ChartRegistry {
public:
    // Seconds since 1970 by the local clock and milliseconds since system start (32 bits).
    struct Clock {
        qint64 localSecs = 0;
        quint32 ticks = 0;
    };
    using ClockSource = std::function<Clock()>;

    ChartRegistry();

    void append(const CFGroupRecord& entry) { m_entries.push_back(entry); }
    // Removes the first entry with this key; later entries move up. Unknown keys: nothing.
    void removeCFP(const QString& ckey);
    // The window of the first entry whose key equals `ckey` exactly; null when none.
    ChartController* find(const QString& ckey) const;
    const std::vector<CFGroupRecord>& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.empty(); }

    // A new chart key: 32 upper-case hex digits, the MD5 of "c" + local seconds + tick count.
    // Two keys asked for within the same millisecond would be equal; the second then hashes
    // "c" + seconds + ticks + "-" + n, so every key of a run is distinct.
    QString newKey();
    static QString chartKey(qint64 localSecs, quint32 ticks, int repeat = 0);
    void setClock(ClockSource clock) { m_clock = std::move(clock); }
    static Clock systemClock();

private:
    std::vector<CFGroupRecord> m_entries;
    std::set<QString> m_issued;
    ClockSource m_clock;
};

} // namespace kovan
