#include "shell/ClockText.h"

#include "core/Utils.h"

namespace kovan {

ClockText::ClockText(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentDateTime(); };
}

QString ClockText::format(const QDateTime& local) {
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + weekdayName(local.date());
}

} // namespace kovan
