#include "core/SessionState.h"

#include "core/JsonParams.h"
#include "core/LogScrubber.h"

namespace kovan {

bool isUsableSessid(QStringView id) {
    if (id.isEmpty() || id.size() > kMaxSessidLength || id == u"." || id == u"..")
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029)
            return false;
    }
    return true;
}

void SessionState::setSessid(const QString& id) {
    logScrubber().addSecret(id);
    m_sessid.assign(id);
}

bool SessionState::replaceSessidIf(const QString& next,
                                   const std::function<bool(const QString&)>& accept) {
    const bool changed = m_sessid.with([&](QString& current) {
        if (current == next || !accept(current))
            return false;
        current = next;
        return true;
    });
    if (changed)
        logScrubber().addSecret(next);
    return changed;
}

qint64 SessionState::uid() const {
    return jsonInt(parseJsonObject(sessInfoText), u"UID");
}

void SessionState::reset() {
    m_sessid.assign(QString());
    sessInfoText.clear();
}

} // namespace kovan
