#include "chart/ChartRegistry.h"

#include <QCryptographicHash>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace kovan {

ChartRegistry::ChartRegistry() : m_clock(&ChartRegistry::systemClock) {}

void ChartRegistry::removeCFP(const QString& ckey) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const CFGroupRecord& e) { return e.HKEY == ckey; });
    if (it != m_entries.end())
        m_entries.erase(it);
}

ChartController* ChartRegistry::find(const QString& ckey) const {
    for (const CFGroupRecord& e : m_entries)
        if (e.HKEY == ckey)
            return e.CFP;
    return nullptr;
}

QString ChartRegistry::chartKey(qint64 localSecs, quint32 ticks, int repeat) {
    QString text = u'c' + QString::number(localSecs) + QString::number(ticks);
    if (repeat > 0)
        text += u'-' + QString::number(repeat);
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

QString ChartRegistry::newKey() {
    const Clock c = m_clock ? m_clock() : systemClock();
    QString key = chartKey(c.localSecs, c.ticks);
    for (int n = 1; m_issued.count(key) > 0; ++n)
        key = chartKey(c.localSecs, c.ticks, n);
    m_issued.insert(key);
    return key;
}

ChartRegistry::Clock ChartRegistry::systemClock() {
    const QDateTime now = QDateTime::currentDateTime();
    const double local = double(now.toMSecsSinceEpoch()) / 1000.0 + now.offsetFromUtc();
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const quint64 ms = quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u;
    return {qint64(std::nearbyint(local)), quint32(ms)};
}

} // namespace kovan
