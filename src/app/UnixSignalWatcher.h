#pragma once

#include <QObject>

class QSocketNotifier;

namespace kovan {

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread. The handler only writes the
// signal number into a socket pair (async-signal-safe); a QSocketNotifier reads it back on the
// thread that created the watcher. One instance per process.
class UnixSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject* parent = nullptr);
    ~UnixSignalWatcher() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace kovan
