#pragma once

#include "ClipMaker.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace kovan::test {

// A one-way gate a server thread waits at until the test opens it.
class Gate {
public:
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_cv.notify_all();
    }
    // False when `timeoutMs` passed first.
    bool wait(int timeoutMs = 30000) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// A short generated clip (H.264 + AAC, index at the front), made once per test program.
inline QByteArray shortClip(const QString& dir, double seconds = 2.0, int bitRate = 4000000) {
    const QString path = dir + QStringLiteral("/clip-%1-%2.mp4").arg(seconds).arg(bitRate);
    if (!QFile::exists(path)) {
        clip::ClipSpec shape;
        shape.width = 320;
        shape.height = 240;
        shape.seconds = seconds;
        shape.videoBitRate = bitRate;
        if (!clip::writeClip(shape, path.toStdString()).empty())
            return {};
    }
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace kovan::test
