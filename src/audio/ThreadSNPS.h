#pragma once

#include "audio/AlertAudio.h"
#include "threads/WorkerThread.h"

#include <QString>

#include <atomic>

namespace kovan {

// Plays one WAV file to its end on its own thread, then frees itself. A newer sound stops one
// still playing; a file that is not a playable WAV plays the built-in alert sound; without an
// audio device it ends at once, silently.
//
//     ThreadSNPS::create(path); // runs at once; nobody waits for it
//
// Threads: create on the GUI thread (or any thread with an event loop, where it is freed).
class ThreadSNPS : public SelfFreeingWorker<ThreadSNPS> {
    Q_OBJECT
public:
    explicit ThreadSNPS(const QString& srcF, QObject* parent = nullptr);
    ~ThreadSNPS() override;

    // Creates a worker for `srcF` and starts it.
    static ThreadSNPS* create(const QString& srcF);

    // Any thread: the sound stops (or never starts); run() returns soon after.
    void cutOff() { m_cut.store(true, std::memory_order_relaxed); }

    const QString& wavFile() const { return m_wavFile; }
    // For a termination handler (tests): how the sound ended and whether the built-in sound
    // replaced the file.
    AlertAudio::Result result() const { return m_result; }
    bool usedDefault() const { return m_usedDefault; }

protected:
    void run() override;

private:
    QString m_wavFile;
    std::atomic<bool> m_cut{false};
    AlertAudio::Result m_result = AlertAudio::Result::NoDevice;
    bool m_usedDefault = false;
};

} // namespace kovan
