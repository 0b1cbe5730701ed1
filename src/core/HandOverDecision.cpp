#include "core/HandOverDecision.h"

namespace kovan {

HandOverDecision::Step HandOverDecision::decide(const Look& look) {
    if (look.peer == Peer::Answered)
        return Step::HandedOver;
    if (look.lockTaken) {
        if (look.quitting)
            return look.sawHolder ? Step::Ended : Step::NoClient;
        return Step::Run;
    }
    if (look.lockUnusable)
        return look.quitting ? Step::NoClient : Step::Run;
    if (look.peer == Peer::Silent)
        return look.quitting ? Step::GiveUp : Step::Run;
    // Held by another client that does not listen: starting or ending.
    const qint64 limit =
        look.holderPhase == FolderLock::Phase::Ending ? kEndingWaitMs : kStartingWaitMs;
    return look.elapsedMs < limit ? Step::Wait : Step::GiveUp;
}

} // namespace kovan
