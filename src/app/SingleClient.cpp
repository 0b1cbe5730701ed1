#include "app/SingleClient.h"

#include "core/CommandLine.h"
#include "core/FolderLock.h"
#include "core/InstanceChannel.h"
#include "core/LocalSockets.h"
#include "instance/HandOver.h"

#include <cstdio>

namespace kovan {

namespace {

void say(FILE* to, const QString& line) {
    std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
}

// The options a start that hands over leaves unused, to be named: all but --dir; none for a
// start at login (--autostart), which does nothing at all.
QStringList ignoredOptions(const CommandLine& cl) {
    QStringList ignored;
    if (cl.autostart)
        return ignored;
    for (const QString& name : cl.options) {
        if (name != u"--dir" && name != u"--autostart" && !ignored.contains(name))
            ignored.append(name);
    }
    return ignored;
}

} // namespace

FolderChannel FolderChannel::of(const QString& programDir) {
    FolderChannel channel;
    channel.folderKey = instanceFolderKey(programDir);
    channel.socketPath = localSocketPath(instanceChannelName(channel.folderKey), &channel.problem);
    if (channel.problem.isEmpty())
        channel.lockPath = localSocketPath(instanceLockName(channel.folderKey), &channel.problem);
    return channel;
}

std::optional<int> handOverToRunningClient(const CommandLine& cl, const QByteArray& startupId,
                                           const FolderChannel& channel, FolderLock& lock) {
    if (!channel.problem.isEmpty()) {
        if (!cl.quit)
            return std::nullopt; // no channel to find another client on: this one runs alone
        say(stderr, QStringLiteral("kovan: no client can be reached: ") + channel.problem);
        return 1;
    }
    HandOver handOver(channel.socketPath, lock, channel.folderKey);
    if (cl.quit) {
        const HandOver::Outcome outcome = handOver.quit();
        say(outcome.exitCode == 0 ? stdout : stderr, outcome.message);
        return outcome.exitCode;
    }
    const HandOver::Outcome outcome =
        handOver.start(cl.autostart ? HandOverRequest{HandOverRequest::Kind::Hello, {}}
                                    : HandOverRequest{HandOverRequest::Kind::Raise, startupId});
    if (outcome.run)
        return std::nullopt;
    if (!outcome.message.isEmpty())
        say(stderr, outcome.message);
    else if (const QStringList ignored = ignoredOptions(cl); !ignored.isEmpty())
        say(stderr, QStringLiteral("kovan: the client of %1 runs already; options ignored: %2")
                        .arg(channel.folderKey, ignored.join(QStringLiteral(", "))));
    return outcome.exitCode;
}

} // namespace kovan
