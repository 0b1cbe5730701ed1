#pragma once

#include <QString>

namespace kovan {

// The channel between two starts of the client for the same program folder: one client per
// user and folder listens on a local socket in the user's runtime folder; a second start finds
// it there and hands over. Beside the socket, a lock file that the running client holds (flock)
// from before start-up until the process ends tells "a client has this folder" apart from
// "a client listens" (see FolderLock). Any thread.

// The folder that identifies a client: the canonical path (links resolved) of `programDir`,
// without a trailing "/"; the cleaned absolute path when the folder does not exist (yet).
QString instanceFolderKey(const QString& programDir);

// The socket's name for a folder key: "kovan-" and the first 16 hex digits of the SHA-256 of
// the key's UTF-8 bytes (a socket address holds 107 bytes: a folder's path would not fit).
QString instanceChannelName(const QString& folderKey);
// The lock file's name beside it: the channel's name and ".lock".
QString instanceLockName(const QString& folderKey);

} // namespace kovan
