#include "core/Lifecycle.h"

#include "core/Trace.h"

#include <exception>

namespace kovan {

void Lifecycle::onStart(StartStep at, Step step) {
    if (step)
        m_start[size_t(at)].push_back(std::move(step));
}

void Lifecycle::onExit(ExitStep at, Step step) {
    if (step)
        m_exit[size_t(at)].push_back(std::move(step));
}

void Lifecycle::waitAtExit(const QString& name, std::function<bool()> ended) {
    if (ended)
        m_waits.push_back(Wait{name, std::move(ended)});
}

void Lifecycle::runStart(StartStep at) const {
    for (const Step& step : m_start[size_t(at)])
        step();
}

void Lifecycle::runExit(ExitStep at) const {
    for (const Step& step : m_exit[size_t(at)]) {
        try {
            step();
        } catch (const std::exception& e) {
            trace(QStringLiteral("exit step failed: ") + QString::fromLocal8Bit(e.what()));
        } catch (...) {
            trace(QStringLiteral("exit step failed"));
        }
    }
}

QStringList Lifecycle::pendingWaits() const {
    QStringList names;
    for (const Wait& w : m_waits) {
        if (!w.ended())
            names.append(w.name);
    }
    return names;
}

} // namespace kovan
