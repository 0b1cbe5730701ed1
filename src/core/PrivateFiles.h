#pragma once

#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace kovan {

// Files and folders that are one account's alone: the secrets (config.dat, key.dat, the log
// files), the runtime folder that holds the local sockets, the folders of a per-user program
// folder. POSIX modes; any thread.

inline constexpr mode_t kOwnerOnlyFileMode = 0600;
inline constexpr mode_t kOwnerOnlyFolderMode = 0700;

// An open file made 0600 whenever its permission bits are anything else: a file just created
// whatever the umask, an existing one that others could read is tightened. Returns false when
// the mode cannot be set (a file of another account); the file itself is left as it is.
bool keepToOwner(int fd);

// Why `st` (from lstat) is not a private folder of the account `self`: the empty text when it
// is a folder (not a link to one) owned by `self` with no permission bits for group or others;
// otherwise the reason, fit for a log line ("a link", "owned by uid 1001", "open to group or
// others (mode 0755)", …).
QString checkPrivateFolder(const struct stat& st, uid_t self);
// The same for the folder at `path`, for the calling process's effective account ("missing"
// when nothing is there).
QString checkPrivateFolder(const QString& path);

// A private folder at `path`: made 0700 (whatever the umask) when missing, then checked as
// above; an existing one is checked and never changed. Its parent must exist. Returns the
// problem, the empty text when the folder may be used.
QString makePrivateFolder(const QString& path);

// Makes the folder `path` (its parent must exist), as QDir::mkdir does, except that a folder
// made inside a folder that only its owner may enter (no permission bits for group or others,
// as the per-user program folder is made) is made 0700 whatever the umask: the folders the
// client makes in a per-user program folder stay the user's alone. True when `path` is a folder
// at the end (made now or before).
bool makeFolder(const QString& path);
// The same for `path` and every missing folder above it, as QDir::mkpath does.
bool makeFolders(const QString& path);

} // namespace kovan
