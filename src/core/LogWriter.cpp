#include "core/LogWriter.h"

#include "core/LogFormat.h"
#include "core/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kovan {

LogWriter::LogWriter(QString folder) : LogWriter(std::move(folder), Options{}) {}

LogWriter::LogWriter(QString folder, Options options)
    : m_folder(std::move(folder)), m_options(std::move(options)), m_thread([this] { run(); }) {}

LogWriter::~LogWriter() {
    stop();
}

void LogWriter::append(const QString& text) {
    Entry entry{m_options.now ? m_options.now() : QDateTime::currentDateTime(), text};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
        if (m_queue.size() >= size_t(std::max(1, m_options.maxQueued))) {
            ++m_dropped;
            ++m_droppedTotal;
            return;
        }
        m_queue.push_back(std::move(entry));
        m_pending = true;
    }
    m_wake.notify_one();
}

void LogWriter::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

qint64 LogWriter::droppedTotal() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_droppedTotal;
}

void LogWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stopping; });
        m_pending = false;
        const bool last = m_stopping;
        // A copy: the entries stay queued (and count against the bound) until they are
        // written, and append() never waits for the file.
        std::deque<Entry> batch = m_queue;
        const qint64 dropped = m_dropped;
        if (dropped > 0)
            batch.push_back(Entry{m_options.now ? m_options.now() : QDateTime::currentDateTime(),
                                  QStringLiteral("log: %1 lines dropped").arg(dropped)});
        lock.unlock();

        if (m_options.beforeWrite)
            m_options.beforeWrite();
        const size_t written = batch.empty() ? 0 : write(batch);

        lock.lock();
        const size_t queued = batch.size() - (dropped > 0 ? 1 : 0);
        m_queue.erase(m_queue.begin(), m_queue.begin() + std::min(written, queued));
        if (dropped > 0 && written == batch.size())
            m_dropped -= dropped;
        if (last)
            return;
    }
}

size_t LogWriter::write(const std::deque<Entry>& batch) {
    if (!QFileInfo(m_folder).isDir())
        return 0;
    const QDir folder(m_folder);
    size_t done = 0;
    while (done < batch.size()) {
        const QDate day = batch[done].at.date();
        const QString name = logFileName(day);
        QByteArray bytes;
        size_t end = done;
        for (; end < batch.size() && batch[end].at.date() == day; ++end)
            bytes += logLine(batch[end].at, batch[end].text);
        QFile file(folder.filePath(name));
        // The files are the user's alone: new ones whatever the umask, and an older one that
        // others could read is tightened (0600) before more goes in.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return done;
        keepToOwner(file.handle());
        if (file.write(bytes) != bytes.size())
            return done;
        file.close();
        done = end;
        if (name != m_lastFile) {
            m_lastFile = name;
            prune(name);
        }
    }
    return done;
}

void LogWriter::prune(const QString& current) {
    QDir folder(m_folder);
    const QStringList names = folder.entryList({QStringLiteral("kovan-*.log")}, QDir::Files);
    for (const QString& old : logFilesToRemove(names, m_options.keepFiles, current))
        folder.remove(old);
}

} // namespace kovan
