#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>
#include <sys/types.h>

#include <functional>

namespace kovan::test {

// Runs `body` in a child process whose files may not grow past `limitBytes` (a full disk, as
// far as a write can tell; it holds for root too) and returns the child's exit code, -1 when
// it did not end normally.
int runWithFileSizeLimit(rlim_t limitBytes, const std::function<int()>& body);

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString& path);

// The permission bits of `path` (lstat), -1 when nothing is there.
int modeOf(const QString& path);
// The owner of `path` (lstat), -1 when nothing is there.
qint64 ownerOf(const QString& path);

// The process's umask while it lives (files a test makes "whatever the umask").
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask);
    ~ScopedUmask();
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_old;
};

} // namespace kovan::test
