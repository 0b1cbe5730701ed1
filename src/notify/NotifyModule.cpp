#include "notify/NotifyModule.h"

#include "audio/SoundAlerts.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/SessionBusAddress.h"
#include "core/SettingsStore.h"
#include "core/Trace.h"
#include "notify/DbusNoticeSender.h"
#include "notify/DesktopNotices.h"
#include "notify/NoticeList.h"
#include "notify/NotifyCommands.h"
#include "notify/TrbMsgForm.h"
#include "notify/TtopFloatForm.h"

#include <QDesktopServices>

namespace kovan {

NotifyModule::NotifyModule()
    : m_notices(std::make_unique<NoticeList>()),
      m_desktopNotices(std::make_unique<DesktopNotices>(
          [this]() -> NoticeSender* {
              m_noticeSender = m_needs.makeNoticeSender
                                   ? m_needs.makeNoticeSender()
                                   : std::make_unique<DbusNoticeSender>(sessionBusAddress());
              return m_noticeSender.get();
          },
          [this](int index) {
              if (m_notices->contains(index))
                  runNoticeAction(m_notices->at(index), actionTargets());
          })),
      m_floatBar([this] {
          auto bar =
              std::make_unique<TtopFloatForm>(*m_needs.news, m_needs.realtimeSignals->document);
          applyFloatBarTargets(*bar);
          // Signals that came before the bar existed show at once.
          bar->Label5Click();
          return bar;
      }),
      m_popup([this] {
          auto popup = std::make_unique<TrbMsgForm>(*m_notices);
          applyPopupTargets(*popup);
          return popup;
      }) {
    m_buildTimer.setSingleShot(true);
    m_buildTimer.setInterval(kBuildWindowsDelayMs);
    QObject::connect(&m_buildTimer, &QTimer::timeout, [this] {
        floatBar();
        popup();
    });
}

NotifyModule::~NotifyModule() {
    // The desktop notices hold the sender; the sender's replies would reach them.
    m_desktopNotices.reset();
    m_noticeSender.reset();
}

void NotifyModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    m_sounds = std::make_unique<SoundAlerts>(m_needs.paths->programDir + QStringLiteral("sound"),
                                             m_needs.paths->endpoints);
    if (!m_needs.openExternal)
        m_needs.openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    if (TrbMsgForm* popup = m_popup.ifBuilt())
        applyPopupTargets(*popup);
    if (TtopFloatForm* bar = m_floatBar.ifBuilt())
        applyFloatBarTargets(*bar);
}

NoticeActionTargets NotifyModule::actionTargets() const {
    return {m_needs.showoptPage, m_needs.mainWindow.bringToFront, m_needs.openExternal,
            m_needs.playVideo, m_needs.openSymbolChart};
}

bool NotifyModule::windowsPlaceThemselves() const {
    return !m_needs.desktop || m_needs.desktop->windowsPlaceThemselves;
}

void NotifyModule::applyPopupTargets(TrbMsgForm& popup) {
    popup.setActionTargets(actionTargets());
    popup.setPlacesItself(windowsPlaceThemselves());
}

void NotifyModule::applyFloatBarTargets(TtopFloatForm& bar) {
    // Closing the bar must not leave the client out of reach: the main window decides.
    bar.setTargets({m_needs.showoptPage, m_needs.mainWindow.visible, m_needs.mainWindow.show,
                    m_needs.mainWindow.switchPae,
                    [session = m_needs.session] { return session->sessid(); },
                    m_needs.mainWindow.floatBarClosed});
    bar.setPlacesItself(windowsPlaceThemselves());
}

TtopFloatForm* NotifyModule::floatBar() {
    return m_floatBar.get();
}

TrbMsgForm* NotifyModule::popup() {
    return m_popup.get();
}

bool NotifyModule::windowsBuilt() const {
    return m_floatBar.ifBuilt() && m_popup.ifBuilt();
}

void NotifyModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("audioPlay"),
                 [sounds = m_sounds.get()](const QString& p) { return sounds->audioPlay(p); });
    SoundAlerts* sounds = m_sounds.get();
    registerNotifyCommands(registry, {m_notices.get(), [this](int index) { noticeArrived(index); },
                                      [sounds] { return sounds->isOn(); },
                                      [sounds](const QString& f) { sounds->audioPlay(f); },
                                      m_needs.news, &m_needs.realtimeSignals->document,
                                      [this] {
                                          // A bar not built yet shows the signals when it is.
                                          if (TtopFloatForm* bar = m_floatBar.ifBuilt())
                                              bar->Label5Click();
                                      }});
}

void NotifyModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::StartWorkers, [this] { m_buildTimer.start(); });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        m_buildTimer.stop();
        if (TtopFloatForm* bar = m_floatBar.ifBuilt(); bar && bar->isVisible())
            bar->hide();
        if (TrbMsgForm* popup = m_popup.ifBuilt(); popup && popup->isVisible())
            popup->close();
    });
}

bool NotifyModule::floatBarShowing() const {
    const TtopFloatForm* bar = m_floatBar.ifBuilt();
    return bar && bar->isVisible();
}

void NotifyModule::showFloatBar(bool bringToFront) {
    TtopFloatForm* bar = floatBar();
    bar->setPos();
    if (!bar->isVisible())
        trace(QStringLiteral("floating bar shown"));
    bar->show();
    if (bringToFront)
        bar->raise();
}

void NotifyModule::showNewestNotice() {
    popup()->showNewest();
}

void NotifyModule::raiseNotice(const QString& title, const QString& content, const QString& viewAct,
                               const QString& viparam) {
    noticeArrived(
        m_notices->append(rbMsgRecord::make(title, content, viewAct, QString(), viparam, 0)));
}

void NotifyModule::noticeArrived(int index) {
    if (!m_notices->contains(index))
        return;
    if (windowsPlaceThemselves())
        popup()->showMsg(index);
    m_desktopNotices->noticeRaised(index, m_notices->at(index), sysNotifyOn());
}

bool NotifyModule::sysNotifyOn() const {
    return m_needs.settings && DesktopNotices::isOn(*m_needs.settings, windowsPlaceThemselves());
}

void NotifyModule::setSysNotify(bool on) {
    if (!m_needs.settings)
        return;
    DesktopNotices::setOn(*m_needs.settings, on);
    try {
        m_needs.settings->save();
    } catch (const std::exception& e) {
        trace(QStringLiteral("config.dat not saved: ") + QString::fromUtf8(e.what()));
    }
}

void NotifyModule::playNoticeSound() {
    if (m_sounds && m_sounds->isOn())
        m_sounds->audioPlay(kDefaultNoticeSound);
}

} // namespace kovan
