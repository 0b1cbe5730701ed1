#include "notify/NotifyModule.h"

#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "net/SoundAlerts.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"

namespace kovan {

NotifyModule::NotifyModule(const QString& soundDir)
    : m_sounds(std::make_unique<SoundAlerts>(soundDir)),
      m_floatBar(std::make_unique<TtopFloatForm>()), m_popup(std::make_unique<TrbMsgForm>()) {}

NotifyModule::~NotifyModule() = default;

void NotifyModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("audioPlay"),
                 [sounds = m_sounds.get()](const QString& p) { return sounds->audioPlay(p); });
}

void NotifyModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        if (m_floatBar->isVisible())
            m_floatBar->hide();
        if (m_popup->isVisible())
            m_popup->close();
    });
}

bool NotifyModule::floatBarShowing() const {
    return m_floatBar->isVisible();
}

void NotifyModule::showFloatBar(bool bringToFront) {
    m_floatBar->setPos();
    m_floatBar->show();
    if (bringToFront)
        m_floatBar->raise();
}

void NotifyModule::showNewestNotice() {
    m_popup->showNewest();
}

} // namespace kovan
