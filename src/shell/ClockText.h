#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace kovan {

// The clock of the status band (Timer1, 1000 ms): local time as "yyyy-mm-dd hh:mm:ss " (24-hour
// clock, one trailing space) followed by the weekday name ("星期天" … "星期六"). The clock source
// is injectable so tests can set the time. GUI thread.
class ClockText {
public:
    using Clock = std::function<QDateTime()>;

    // Defaults to the current local time.
    explicit ClockText(Clock clock = {});

    // The text for a given local time.
    static QString format(const QDateTime& local);

    // Timer1Timer: the text for the clock's present time.
    QString tick() const { return format(m_clock()); }

    // Shown before the first tick.
    static QString designText() { return QStringLiteral("2014-03-21 15:15:16 星期一"); }

private:
    Clock m_clock;
};

} // namespace kovan
