#include "core/LogScrubber.h"

#include "core/NameValueList.h"

#include <QRegularExpression>

#include <algorithm>

namespace kovan {

namespace {

QString mask() {
    return QStringLiteral("***");
}

} // namespace

void LogScrubber::addSecret(const QString& secret) {
    if (secret.isEmpty() || secret == mask())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_secrets.removeAll(secret);
    m_secrets.append(secret);
    // Newest at the end; the oldest go first when there are too many.
    if (m_secrets.size() > kMaxSecrets)
        m_secrets.remove(0, m_secrets.size() - kMaxSecrets);
}

void LogScrubber::addSettingsSecrets(const NameValueList& settings) {
    for (const char16_t* key : {u"AUTHINFO", u"AUTHKEY"})
        addSecret(settings.value(QStringView(key)));
}

QString LogScrubber::scrub(const QString& text) const {
    QString out = text;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        QStringList bySize = m_secrets;
        std::stable_sort(bySize.begin(), bySize.end(),
                         [](const QString& a, const QString& b) { return a.size() > b.size(); });
        for (const QString& secret : std::as_const(bySize))
            out.replace(secret, mask());
    }
    static const QRegularExpression named(
        QStringLiteral("(authinfo|authkey|pass(?:word|wd)?|pwd)([\"']?\\s*[:=]\\s*)"
                       "(?:\"[^\"]*\"|'[^']*'|[^\\s&,;}\"']*)"),
        QRegularExpression::CaseInsensitiveOption);
    out.replace(named, QStringLiteral("\\1\\2") + mask());
    return out;
}

void LogScrubber::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_secrets.clear();
}

LogScrubber& logScrubber() {
    static LogScrubber* const scrubber = new LogScrubber; // never destroyed: see the header
    return *scrubber;
}

} // namespace kovan
