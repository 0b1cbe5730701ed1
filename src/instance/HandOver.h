#pragma once

#include "core/HandOverDecision.h"
#include "core/HandOverRequest.h"

#include <QString>

namespace kovan {

class FolderLock;

// A start's look for another client of its program folder, before start-up does anything: it
// asks the client listening on the folder's socket, else takes the folder's lock, and waits
// while a client holds the folder without listening (see HandOverDecision). Blocking, with
// time-outs; runs on the GUI thread before the message loop (the only thread then).
class HandOver {
public:
    struct Outcome {
        bool run = false; // this start runs the client
        int exitCode = 0; // when it does not
        QString message;  // a line for stderr; empty: none
    };

    // `socketPath`: the channel in the user's runtime folder; `lock`: the folder's lock file,
    // kept by the caller (held from here until the process ends when the client runs);
    // `folder`: the program folder as messages name it.
    HandOver(QString socketPath, FolderLock& lock, QString folder);

    // A start of the client: `request` is Raise (a start from the menu) or Hello (at login).
    Outcome start(const HandOverRequest& request);
    // kovan --quit: the running client is asked to end, and waited for.
    Outcome quit();

    // Tests shorten the waits.
    void setAnswerTimeoutMs(int ms) { m_answerTimeoutMs = ms; }

private:
    HandOverDecision::Step lookUntilDecided(const QByteArray& line, bool quitting);
    HandOverDecision::Peer ask(const QByteArray& line) const;
    bool waitForEnd(int ms);

    QString m_socketPath;
    FolderLock& m_lock;
    QString m_folder;
    int m_answerTimeoutMs = HandOverDecision::kAnswerTimeoutMs;
};

} // namespace kovan
