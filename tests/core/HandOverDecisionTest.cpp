// What a start does about another client of its program folder, case by case.

#include "core/HandOverDecision.h"

#include <gtest/gtest.h>

using namespace kovan;

namespace {

using Peer = HandOverDecision::Peer;
using Phase = FolderLock::Phase;
using Step = HandOverDecision::Step;

struct Case {
    const char* name;
    HandOverDecision::Look look;
    Step step;
};

HandOverDecision::Look look(Peer peer, bool lockTaken, Phase phase = Phase::Unknown,
                            qint64 elapsedMs = 0, bool quitting = false, bool sawHolder = false,
                            bool lockUnusable = false) {
    HandOverDecision::Look l;
    l.peer = peer;
    l.lockTaken = lockTaken;
    l.lockUnusable = lockUnusable;
    l.holderPhase = phase;
    l.sawHolder = sawHolder;
    l.elapsedMs = elapsedMs;
    l.quitting = quitting;
    return l;
}

constexpr qint64 kStarting = HandOverDecision::kStartingWaitMs;
constexpr qint64 kEnding = HandOverDecision::kEndingWaitMs;

} // namespace

TEST(HandOverDecision, EveryCaseOfAStartAndOfQuit) {
    const Case cases[] = {
        // A start.
        {"nobody there", look(Peer::Absent, true), Step::Run},
        {"a listening client", look(Peer::Answered, false, Phase::Starting), Step::HandedOver},
        {"a socket a killed client left", look(Peer::Absent, true, Phase::Starting), Step::Run},
        {"still starting", look(Peer::Absent, false, Phase::Starting, 0), Step::Wait},
        {"still starting, nearly 5 s", look(Peer::Absent, false, Phase::Starting, kStarting - 1),
         Step::Wait},
        {"still starting after 5 s", look(Peer::Absent, false, Phase::Starting, kStarting),
         Step::GiveUp},
        {"phase unreadable counts as starting",
         look(Peer::Absent, false, Phase::Unknown, kStarting), Step::GiveUp},
        {"ending", look(Peer::Absent, false, Phase::Ending, kStarting), Step::Wait},
        {"ending, gone now", look(Peer::Absent, true, Phase::Unknown, kStarting, false, true),
         Step::Run},
        {"ending for too long", look(Peer::Absent, false, Phase::Ending, kEnding), Step::GiveUp},
        {"a stuck peer holding the folder", look(Peer::Silent, false, Phase::Starting), Step::Run},
        {"a stuck peer beside a free lock", look(Peer::Silent, true), Step::Run},
        {"no lock file to be had", look(Peer::Absent, false, Phase::Unknown, 0, false, false, true),
         Step::Run},
        // kovan --quit.
        {"quit: a listening client", look(Peer::Answered, false, Phase::Starting, 0, true),
         Step::HandedOver},
        {"quit: nobody there", look(Peer::Absent, true, Phase::Unknown, 0, true), Step::NoClient},
        {"quit: a client that was ending is gone",
         look(Peer::Absent, true, Phase::Unknown, 200, true, true), Step::Ended},
        {"quit: still starting", look(Peer::Absent, false, Phase::Starting, 100, true), Step::Wait},
        {"quit: still starting after 5 s",
         look(Peer::Absent, false, Phase::Starting, kStarting, true), Step::GiveUp},
        {"quit: a stuck peer", look(Peer::Silent, false, Phase::Starting, 0, true), Step::GiveUp},
        {"quit: no lock file", look(Peer::Absent, false, Phase::Unknown, 0, true, false, true),
         Step::NoClient},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HandOverDecision::decide(c.look), c.step);
    }
}
