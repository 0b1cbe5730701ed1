#include "audio/ThreadSNPS.h"

namespace kovan {

ThreadSNPS::ThreadSNPS(const QString& srcF, QObject* parent)
    : SelfFreeingWorker(parent), m_wavFile(srcF) {}

ThreadSNPS* ThreadSNPS::create(const QString& srcF) {
    auto* worker = new ThreadSNPS(srcF);
    worker->start();
    return worker;
}

void ThreadSNPS::run() {
    try {
        m_result = AlertAudio::instance().playToEnd(m_wavFile, &m_usedDefault, &m_cut);
    } catch (...) {
        m_result = AlertAudio::Result::NoDevice;
    }
}

ThreadSNPS::~ThreadSNPS() {
    joinThread(); // run() uses the members
}

} // namespace kovan
