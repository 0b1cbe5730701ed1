#include "alerts/PriceAlertBook.h"

#include "alerts/AlertCrossing.h"

#include <algorithm>
#include <cmath>

namespace kovan {

bool PriceAlertBook::usable(const PriceAlert& a) {
    return !a.symbol.isEmpty() && std::isfinite(a.price) && a.price > 0;
}

void PriceAlertBook::changedLocked() {
    m_activeBySymbol.clear();
    WatchList watch;
    for (size_t i = 0; i < m_alerts.size(); ++i) {
        const PriceAlert& a = m_alerts[i];
        if (!a.active())
            continue;
        m_activeBySymbol[a.symbol].push_back(i);
        watch[a.symbol].narrowFor(a);
    }
    m_watch = std::make_shared<const WatchList>(std::move(watch));
    ++m_revision;
}

PriceAlertBook::Outcome PriceAlertBook::add(PriceAlert alert, qint64* id) {
    if (!usable(alert))
        return Outcome::Invalid;
    alert.note = cutNote(alert.note);
    std::lock_guard lock(m_mutex);
    if (m_alerts.size() >= size_t(kMaxAlerts))
        return Outcome::TooMany;
    alert.id = m_nextId++;
    if (id)
        *id = alert.id;
    m_alerts.push_back(std::move(alert));
    changedLocked();
    return Outcome::Done;
}

PriceAlertBook::Outcome PriceAlertBook::update(const PriceAlert& alert) {
    if (!usable(alert))
        return Outcome::Invalid;
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                                 [&](const PriceAlert& a) { return a.id == alert.id; });
    if (it == m_alerts.end())
        return Outcome::NotFound;
    *it = alert;
    it->note = cutNote(alert.note);
    it->state = AlertState::Waiting;
    it->triggeredAtMs = 0;
    changedLocked();
    return Outcome::Done;
}

PriceAlertBook::Outcome PriceAlertBook::remove(qint64 id) {
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                                 [&](const PriceAlert& a) { return a.id == id; });
    if (it == m_alerts.end())
        return Outcome::NotFound;
    m_alerts.erase(it);
    changedLocked();
    return Outcome::Done;
}

PriceAlertBook::Outcome PriceAlertBook::setEnabled(qint64 id, bool enabled) {
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                                 [&](const PriceAlert& a) { return a.id == id; });
    if (it == m_alerts.end())
        return Outcome::NotFound;
    if (it->enabled != enabled) {
        it->enabled = enabled;
        changedLocked();
    }
    return Outcome::Done;
}

int PriceAlertBook::replaceAll(std::vector<PriceAlert> alerts) {
    std::erase_if(alerts, [](const PriceAlert& a) { return !usable(a); });
    const int leftOut = std::max(0, int(alerts.size()) - kMaxAlerts);
    if (leftOut > 0)
        alerts.resize(size_t(kMaxAlerts));
    std::lock_guard lock(m_mutex);
    m_alerts = std::move(alerts);
    for (PriceAlert& a : m_alerts) {
        a.id = m_nextId++;
        a.note = cutNote(a.note);
    }
    changedLocked();
    return leftOut;
}

std::vector<PriceAlert> PriceAlertBook::alerts() const {
    std::lock_guard lock(m_mutex);
    return m_alerts;
}

std::optional<PriceAlert> PriceAlertBook::find(qint64 id) const {
    std::lock_guard lock(m_mutex);
    for (const PriceAlert& a : m_alerts)
        if (a.id == id)
            return a;
    return std::nullopt;
}

int PriceAlertBook::size() const {
    std::lock_guard lock(m_mutex);
    return int(m_alerts.size());
}

quint64 PriceAlertBook::revision() const {
    std::lock_guard lock(m_mutex);
    return m_revision;
}

std::shared_ptr<const WatchList> PriceAlertBook::watchList() const {
    std::lock_guard lock(m_mutex);
    return m_watch;
}

AlertCheck PriceAlertBook::check(const std::vector<ReplyBid>& bids, qint64 nowMs) {
    AlertCheck out = checkLocked(bids, nowMs);
    // Triggers in the order of the alerts, whatever the order of the reply's rates.
    std::sort(out.triggers.begin(), out.triggers.end(),
              [](const AlertTrigger& x, const AlertTrigger& y) { return x.alert.id < y.alert.id; });
    return out;
}

AlertCheck PriceAlertBook::checkLocked(const std::vector<ReplyBid>& bids, qint64 nowMs) {
    AlertCheck out;
    std::lock_guard lock(m_mutex);
    for (const ReplyBid& bid : bids) {
        const auto places = m_activeBySymbol.constFind(bid.code);
        if (places == m_activeBySymbol.cend())
            continue;
        for (const size_t i : *places) {
            PriceAlert& a = m_alerts[i];
            switch (crossingStep(a, bid.bid)) {
            case CrossingStep::None:
                break;
            case CrossingStep::Trigger:
                a.state = AlertState::Triggered;
                a.triggeredAtMs = nowMs;
                out.triggers.push_back({a, bid});
                out.changed = true;
                break;
            case CrossingStep::Rearm:
                a.state = AlertState::Waiting;
                out.changed = true;
                break;
            }
        }
    }
    if (out.changed)
        changedLocked(); // a triggered once-alert is no longer watched; the bands move
    return out;
}

} // namespace kovan
