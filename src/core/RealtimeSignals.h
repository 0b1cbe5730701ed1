#pragma once

#include <QJsonArray>
#include <QJsonObject>

namespace kovan {

// The real-time signals: {"itemcount":N,"items":[…]}, filled by the page command realsign and
// shown by the floating bar. GUI thread only.
struct RealtimeSignals {
    static QJsonObject initialDocument() {
        return QJsonObject{{QStringLiteral("itemcount"), 0},
                           {QStringLiteral("items"), QJsonArray()}};
    }
    QJsonObject document = initialDocument();
};

} // namespace kovan
