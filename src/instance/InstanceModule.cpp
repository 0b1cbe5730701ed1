#include "instance/InstanceModule.h"

#include "core/FolderLock.h"
#include "core/Lifecycle.h"
#include "core/Trace.h"
#include "instance/InstanceListener.h"

#include <QTimer>

namespace kovan {

InstanceModule::InstanceModule() = default;
InstanceModule::~InstanceModule() = default;

void InstanceModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    InstanceListener::Actions actions{
        .raise = m_needs.raise,
        // From the event loop: the peer's answer is out before the exit procedure starts.
        .quit = [exit = m_needs.exitProcedure] {
            if (exit)
                QTimer::singleShot(0, exit);
        }};
    m_listener = std::make_unique<InstanceListener>(m_needs.socketPath, std::move(actions));
}

void InstanceModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onExit(ExitStep::RemoveTrayIcon, [this] { stop(); });
}

void InstanceModule::listen() {
    if (!m_listener)
        return;
    if (!m_needs.lock || !m_needs.lock->held()) {
        trace(QStringLiteral("hand-over: not listening: the program folder's lock is not held"));
        return;
    }
    m_listener->listen();
}

bool InstanceModule::listening() const {
    return m_listener && m_listener->listening();
}

void InstanceModule::stop() {
    if (m_listener)
        m_listener->stop();
    if (m_needs.lock)
        m_needs.lock->setPhase(FolderLock::Phase::Ending);
}

} // namespace kovan
