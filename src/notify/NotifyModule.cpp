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
    : m_notices(std::make_unique<NoticeList>()), m_sounds(std::make_unique<SoundAlerts>(soundDir)) {
    setNeeds({});
    m_buildTimer.setSingleShot(true);
    m_buildTimer.setInterval(kBuildWindowsDelayMs);
    QObject::connect(&m_buildTimer, &QTimer::timeout, [this] {
        floatBar();
        popup();
    });
}

NotifyModule::~NotifyModule() = default;

void NotifyModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    if (!m_needs.openExternal)
        m_needs.openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    if (m_popup)
        applyPopupTargets();
    if (m_floatBar)
        applyFloatBarTargets();
}

void NotifyModule::applyPopupTargets() {
    m_popup->setActionTargets({m_needs.showoptPage, m_needs.mainWindow.bringToFront,
                               m_needs.openExternal, m_needs.playVideo});
}

void NotifyModule::applyFloatBarTargets() {
    m_floatBar->setTargets({m_needs.showoptPage, m_needs.mainWindow.visible,
                            m_needs.mainWindow.show, m_needs.mainWindow.switchPae,
                            [] { return program().sessid(); }});
}

TtopFloatForm* NotifyModule::floatBar() {
    if (!m_floatBar) {
        m_floatBar =
            std::make_unique<TtopFloatForm>(program().topInfoList, program().realtimeSignals);
        applyFloatBarTargets();
        // Signals that came before the bar existed show at once.
        m_floatBar->Label5Click();
    }
    return m_floatBar.get();
}

TrbMsgForm* NotifyModule::popup() {
    if (!m_popup) {
        m_popup = std::make_unique<TrbMsgForm>(*m_notices);
        applyPopupTargets();
    }
    return m_popup.get();
}

void NotifyModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("audioPlay"),
                 [sounds = m_sounds.get()](const QString& p) { return sounds->audioPlay(p); });
    SoundAlerts* sounds = m_sounds.get();
    registerNotifyCommands(registry,
                           {m_notices.get(), [this](int index) { popup()->showMsg(index); },
                            [sounds] { return sounds->isOn(); },
                            [sounds](const QString& f) { sounds->audioPlay(f); },
                            &program().topInfoList, &program().realtimeSignals,
                            [this] {
                                // A bar not built yet shows the signals when it is.
                                if (m_floatBar)
                                    m_floatBar->Label5Click();
                            }});
}

void NotifyModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::StartWorkers, [this] { m_buildTimer.start(); });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        m_buildTimer.stop();
        if (m_floatBar && m_floatBar->isVisible())
            m_floatBar->hide();
        if (m_popup && m_popup->isVisible())
            m_popup->close();
    });
}

bool NotifyModule::floatBarShowing() const {
    return m_floatBar && m_floatBar->isVisible();
}

void NotifyModule::showFloatBar(bool bringToFront) {
    TtopFloatForm* bar = floatBar();
    bar->setPos();
    bar->show();
    if (bringToFront)
        bar->raise();
}

void NotifyModule::showNewestNotice() {
    popup()->showNewest();
}

} // namespace kovan
