#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kovan {

struct CommandLine;
class FolderLock;

// One client per user and program folder, at the program's entry: where the folder's channel
// and lock are, and the hand-over of a start (or kovan --quit) to the client that runs for it.
// GUI thread, before start-up (the only thread then).

struct FolderChannel {
    QString folderKey;  // the canonical program folder
    QString socketPath; // in the user's runtime folder
    QString lockPath;   // beside it
    QString problem;    // why there is none (no runtime folder): the client runs on its own

    static FolderChannel of(const QString& programDir);
};

// A start hands over to the client of its folder and ends, or (it runs the client) holds the
// folder's lock in `lock` from here on: nullopt then. --quit always ends here. `startupId`: the
// desktop's start-up id this process was started with.
std::optional<int> handOverToRunningClient(const CommandLine& cl, const QByteArray& startupId,
                                           const FolderChannel& channel, FolderLock& lock);

} // namespace kovan
