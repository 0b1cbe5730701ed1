#pragma once

#include "alerts/AlertCrossing.h"
#include "alerts/PriceAlert.h"
#include "alerts/ReplyBids.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kovan {

// One alert that a sync reply triggered: the alert as it was set, the bid that did it and
// what the notice shows of the symbol.
struct AlertTrigger {
    PriceAlert alert; // with its new state
    ReplyBid bid;
};

// What one sync reply did to the alerts.
struct AlertCheck {
    std::vector<AlertTrigger> triggers; // in the order of the alerts
    bool changed = false;               // a trigger or a re-arm: the file is written again
};

// The member's price alerts, in the order they were added, at most kMaxAlerts.
//
// Threads: the GUI thread adds, edits, removes and reads (the alerts window, the charts, the
// file); the sync worker checks each reply's bids against them (check). Every access takes the
// book's own lock, held only for the copy or change itself: no other lock is taken and nothing
// is called under it. revision() grows with every change, whoever made it.
class PriceAlertBook {
public:
    static constexpr int kMaxAlerts = 500;

    enum class Outcome {
        Done,
        TooMany,  // add: kMaxAlerts are held already
        NotFound, // no alert with that id
        Invalid,  // no symbol, a price that is not a positive finite number
    };

    // GUI thread. `alert` gets a new id (returned through `id`); its state is taken as given
    // (Waiting for a new one). The note is cut to its length.
    Outcome add(PriceAlert alert, qint64* id = nullptr);
    // The alert with `alert.id` takes every field of `alert` and is armed again (Waiting, no
    // trigger time): an edit re-arms.
    Outcome update(const PriceAlert& alert);
    Outcome remove(qint64 id);
    // Enabling leaves the state as it was: a triggered once-alert stays triggered.
    Outcome setEnabled(qint64 id, bool enabled);
    // Replaces every alert (the file read at start); ids are given anew. Past kMaxAlerts the
    // rest are left out: answers how many.
    int replaceAll(std::vector<PriceAlert> alerts);

    std::vector<PriceAlert> alerts() const; // a copy, in order
    std::optional<PriceAlert> find(qint64 id) const;
    int size() const;
    quint64 revision() const;

    // Sync worker (any thread): the symbols of the active alerts with their quiet bands, shared
    // until the next change.
    std::shared_ptr<const WatchList> watchList() const;
    // Sync worker (any thread): applies the crossing rule to every active alert of each bid's
    // symbol. `nowMs`: the trigger time (UTC milliseconds since 1970).
    AlertCheck check(const std::vector<ReplyBid>& bids, qint64 nowMs);

private:
    void changedLocked(); // after any change: index, watch list, revision
    AlertCheck checkLocked(const std::vector<ReplyBid>& bids, qint64 nowMs);
    static bool usable(const PriceAlert& a);

    mutable std::mutex m_mutex;
    std::vector<PriceAlert> m_alerts;
    QHash<QString, std::vector<size_t>> m_activeBySymbol; // places in m_alerts
    std::shared_ptr<const WatchList> m_watch = std::make_shared<const WatchList>();
    qint64 m_nextId = 1;
    quint64 m_revision = 0;
};

} // namespace kovan
