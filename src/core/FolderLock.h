#pragma once

#include <QString>

namespace kovan {

// The lock file a client holds for its program folder, from before start-up until the
// process ends (the system releases it when the process ends, however it ends). An exclusive
// flock() on a file of the user's runtime folder; the holder writes its phase into the file,
// so another start tells a client that is still starting from one that is ending. The file is
// left in place: an unlocked file is free whatever it says. Opened close-on-exec, so the
// companion and the page processes never inherit the lock. Any thread; one object per thread.
class FolderLock {
public:
    enum class Phase { Starting, Ending, Unknown };

    explicit FolderLock(QString path);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    const QString& path() const { return m_path; }
    // Takes the lock without waiting; true when this object holds it now (also when it held
    // it already). The phase then reads Starting. False when another process (or another
    // object) holds it, or the file cannot be opened: problem() then says why.
    bool tryTake();
    bool held() const { return m_fd >= 0; }
    // The last tryTake failed because another holder has the lock (not for want of a file).
    bool busy() const { return m_busy; }
    // The holder's phase, written into the file for others to read.
    void setPhase(Phase phase);
    void release();
    QString problem() const { return m_problem; }

    // What the file says; Unknown when it is missing, empty or unreadable.
    static Phase readPhase(const QString& path);

private:
    QString m_path;
    QString m_problem;
    int m_fd = -1;
    bool m_busy = false;
};

} // namespace kovan
