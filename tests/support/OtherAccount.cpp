#include "OtherAccount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kovan::test {

std::optional<OtherAccount> OtherAccount::find(std::string* whyNot) {
    if (::geteuid() != 0) {
        *whyNot = "acting as a second account needs root (the suite's CI runs as root)";
        return std::nullopt;
    }
    const passwd* pw = ::getpwnam("nobody");
    if (!pw || pw->pw_uid == 0) {
        *whyNot = "no account \"nobody\" on this machine";
        return std::nullopt;
    }
    return OtherAccount{pw->pw_uid, pw->pw_gid};
}

bool OtherAccount::give(const QString& path) const {
    return ::lchown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

bool OtherAccount::giveSharedObject(const QString& name) const {
    const int fd = ::shm_open(("/" + name.toUtf8()).constData(), O_RDWR | O_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool given = ::fchown(fd, uid, gid) == 0;
    ::close(fd);
    return given;
}

void OtherAccount::become() const {
    if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
        ::setresuid(uid, uid, uid) != 0)
        ::_exit(126);
}

int OtherAccount::run(const std::function<int()>& body) const {
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        become();
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool OtherAccount::canSandbox(std::string* whyNot) const {
    const int code = run([] { return ::unshare(CLONE_NEWUSER | CLONE_NEWPID) == 0 ? 0 : errno; });
    if (code == 0)
        return true;
    *whyNot = "this machine gives a normal account no user and PID namespaces (unshare: " +
              std::string(code > 0 && code != 126 ? std::strerror(code) : "cannot run as it") +
              "), so the web engine's page sandbox cannot start";
    return false;
}

} // namespace kovan::test
