#pragma once

#include <QString>
#include <QStringList>

#include <mutex>

namespace kovan {

class NameValueList;

// Keeps secrets out of the log files. Two rules, applied to every line before it is queued:
//  - every text registered with addSecret() (the remembered login AUTHINFO, a password, the
//    session id, which lives in memory only) is replaced by "***" wherever it occurs;
//  - the value after a password-like name ("password", "passwd", "pwd", "pass", "AUTHINFO",
//    "AUTHKEY", with "=" or ":" and optional quotes, as in a form body, a query or JSON) is
//    replaced by "***" even when nobody registered it.
// Code that handles a password registers it before it can reach a log line. Any thread.
class LogScrubber {
public:
    void addSecret(const QString& secret);
    // The values of the settings keys that hold credentials (AUTHINFO, AUTHKEY).
    void addSettingsSecrets(const NameValueList& settings);
    QString scrub(const QString& text) const;
    void clear();

    // At most this many secrets are kept; the oldest goes first.
    static constexpr int kMaxSecrets = 32;

private:
    mutable std::mutex m_mutex;
    QStringList m_secrets; // oldest first
};

// The process's scrubber, used by trace() for the log files. Never destroyed, so it is safe
// in any thread at any time.
LogScrubber& logScrubber();

} // namespace kovan
