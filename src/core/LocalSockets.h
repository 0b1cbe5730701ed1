#pragma once

#include <QString>

#include <optional>

#include <sys/types.h>

namespace kovan {

// Where the client's local sockets live (the close message, the single-instance channel) and
// who may use them. A bare name would put a socket into /tmp, one for every account of the
// machine: each account has its own runtime folder instead. Any thread.

// The user's runtime folder: `xdgRuntimeDir` (the environment's XDG_RUNTIME_DIR) when it is an
// absolute path to a private folder of the caller's (checkPrivateFolder); otherwise
// `ownFolder`, made 0700 when missing and used only when it then passes the same check.
struct RuntimeFolder {
    QString path;    // absolute, without a trailing "/"; empty when there is none to use
    QString problem; // why there is none
};
RuntimeFolder chooseRuntimeFolder(const QString& xdgRuntimeDir, const QString& ownFolder);
// For this process: $XDG_RUNTIME_DIR, else <temp folder>/kovan-runtime-<uid>.
RuntimeFolder userRuntimeFolder();

// A local socket's full path for `name` in the user's runtime folder ("<folder>/<name>"), for
// a server and its peers alike. The empty text when there is no runtime folder or the path is
// too long for a socket address; `problem` (optional) then says why.
QString localSocketPath(const QString& name, QString* problem = nullptr);

// Frees `path` for a new listening socket of the caller's. Nothing there: free. A socket of the
// caller's that nobody listens on (left behind by a client that was killed) is removed. A live
// socket is never removed (a connect that would wait counts as live), nor anything that is not
// a socket of the caller's: a link, a plain file, a folder, another account's socket. Returns
// the problem, the empty text when the path is free. Never waits.
QString claimSocketPath(const QString& path);

// The account at the other end of a connected local socket; nullopt when the system does not
// say.
std::optional<uid_t> localPeerUid(int fd);

} // namespace kovan
