#pragma once

#include "core/Guarded.h"

#include <QString>
#include <QStringView>

#include <functional>

namespace kovan {

// A session id the client can use: not empty, at most kMaxSessidLength characters, no control
// characters (line breaks included) and not "." or ".." (which an address would read as a path
// step even when percent-encoded). A session block, a sync reply or a login reply with any
// other id is treated as holding no usable session.
inline constexpr qsizetype kMaxSessidLength = 1024;
bool isUsableSessid(QStringView id);

// The member session the client runs under: the session id that almost every server address
// carries, and the session's JSON text.
//
// Threads: the session id may be read and replaced on any thread, under its own lock (the
// sync worker takes a new one from a reply, request workers read it when they build their
// address, the GUI thread changes it on login and logout). sessInfoText and uid() belong to
// the GUI thread.
class SessionState {
public:
    QString sessid() const { return m_sessid.snapshot(); }
    // Any thread. The id is also masked in every log line from now on: it lives in memory only.
    void setSessid(const QString& id);
    // Any thread: sets `next` when `accept(current id)` holds, in one step under the lock, and
    // answers whether the id changed.
    bool replaceSessidIf(const QString& next, const std::function<bool(const QString&)>& accept);

    // GUI thread: the JSON text of the session (the companion's block at start, the reply of
    // an automatic member login later) and the user id it names (0 when none).
    QString sessInfoText;
    qint64 uid() const;

    // Back to no session (start-up, tests).
    void reset();

private:
    Guarded<QString> m_sessid;
};

} // namespace kovan
