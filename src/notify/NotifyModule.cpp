#include "notify/NotifyModule.h"

#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/ProgramState.h"
#include "net/SoundAlerts.h"
#include "notify/NoticeList.h"
#include "notify/NotifyCommands.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"

#include <QDesktopServices>

namespace kovan {

NotifyModule::NotifyModule(const QString& soundDir)
    : m_notices(std::make_unique<NoticeList>()), m_sounds(std::make_unique<SoundAlerts>(soundDir)),
      m_floatBar(std::make_unique<TtopFloatForm>(program().topInfoList, program().realtimeSignals)),
      m_popup(std::make_unique<TrbMsgForm>(*m_notices)) {
    setNeeds({});
}

NotifyModule::~NotifyModule() = default;

void NotifyModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    if (!m_needs.openExternal)
        m_needs.openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    m_popup->setActionTargets({m_needs.showoptPage, m_needs.mainWindow.bringToFront,
                               m_needs.openExternal, m_needs.playVideo});
    m_floatBar->setTargets({m_needs.showoptPage, m_needs.mainWindow.visible,
                            m_needs.mainWindow.show, m_needs.mainWindow.switchPae,
                            [] { return program().sessid(); }});
}

void NotifyModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("audioPlay"),
                 [sounds = m_sounds.get()](const QString& p) { return sounds->audioPlay(p); });
    SoundAlerts* sounds = m_sounds.get();
    TrbMsgForm* popup = m_popup.get();
    TtopFloatForm* bar = m_floatBar.get();
    registerNotifyCommands(
        registry,
        {m_notices.get(), [popup](int index) { popup->showMsg(index); },
         [sounds] { return sounds->isOn(); }, [sounds](const QString& f) { sounds->audioPlay(f); },
         &program().topInfoList, &program().realtimeSignals, [bar] { bar->Label5Click(); }});
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
