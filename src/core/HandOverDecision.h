#pragma once

#include "core/FolderLock.h"

#include <QtGlobal>

namespace kovan {

// What a start does about another client of its program folder, decided anew after every look
// at the channel and the lock (HandOverDecision::decide). A look asks the listening client
// (when there is one) and, when nobody answered, tries the folder's lock:
//
//   someone answered                      -> handed over: a start ends (0); --quit waits for
//                                            the end of that client
//   lock taken, nobody answered           -> this start has the folder: it runs (a socket a
//                                            killed client left is removed); --quit: none ran
//   no lock file to be had, nobody answered -> it runs, without the channel; --quit: none ran
//   a peer connected but never answered   -> stuck: a start runs normally after the time-out
//                                            (it cannot listen: the path stays the peer's);
//                                            --quit gives up
//   lock held, nobody listens, "starting" -> wait for it to listen, at most kStartingWaitMs
//   lock held, nobody listens, "ending"   -> wait until it is gone, at most kEndingWaitMs
//
// Plain values, no system calls: tests drive it with every case. Any thread.
class HandOverDecision {
public:
    static constexpr int kAnswerTimeoutMs = 1000; // a connected peer's time to answer "ok"
    static constexpr int kStartingWaitMs = 5000;  // for a client that does not listen yet
    static constexpr int kEndingWaitMs = 10000;   // for a client that is ending
    static constexpr int kPollMs = 50;            // between two looks while waiting

    enum class Peer {
        Absent,   // no socket, or nobody listens on it
        Answered, // a client took the request ("ok")
        Silent,   // connected, no answer within kAnswerTimeoutMs
    };

    struct Look {
        Peer peer = Peer::Absent;
        bool lockTaken = false;    // this start holds the folder's lock now
        bool lockUnusable = false; // the lock file cannot be opened: no other client to find
        FolderLock::Phase holderPhase = FolderLock::Phase::Unknown; // when it is held by another
        bool sawHolder = false; // an earlier look found the lock held by another client
        qint64 elapsedMs = 0;   // since the first look
        bool quitting = false;  // kovan --quit
    };

    enum class Step {
        HandedOver, // the running client took the request
        Run,        // this start runs the client (with the lock when lockTaken)
        Wait,       // look again after kPollMs
        Ended,      // --quit: the client that held the folder is gone
        NoClient,   // --quit: no client runs for the folder
        GiveUp,     // the other client neither answers nor ends
    };

    static Step decide(const Look& look);
};

} // namespace kovan
