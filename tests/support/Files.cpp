#include "Files.h"

#include <QFile>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kovan::test {

int runWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

int fileMode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

} // namespace kovan::test
