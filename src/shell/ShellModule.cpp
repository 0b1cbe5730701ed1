#include "shell/ShellModule.h"

#include "audio/SoundAlerts.h"
#include "core/AutostartEntry.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/Trace.h"
#include "shell/CloseMessageListener.h"
#include "shell/DesktopActivation.h"
#include "shell/RatesTicker.h"
#include "shell/SectionArea.h"
#include "shell/SkinImages.h"
#include "shell/StatusBand.h"
#include "shell/TitleBand.h"
#include "shell/TMainForm.h"
#include "shell/TrayIcon.h"
#include "shell/TrayPresence.h"

#include <QLabel>

namespace kovan {

ShellModule::ShellModule()
    : m_form(std::make_unique<TMainForm>()),
      m_closeMessage(std::make_unique<CloseMessageListener>(
          [form = m_form.get()] { form->trayIcon()->removeTrayIcon(); })) {}

ShellModule::~ShellModule() = default;

void ShellModule::setNeeds(Needs needs) {
    m_session = needs.session;
    m_form->state() = {needs.session, needs.paths};
    m_form->ratesTicker()->readFrom(*needs.syncTables, *needs.appRunning);
    m_form->hooks() = std::move(needs.hooks);
    const auto& v = needs.sectionViews;
    m_form->setSectionViews(v[0], v[1], v[2], v[3], v[4]);

    // Sound alerts own the speaker switch; the status band shows it and passes its clicks on.
    if (SoundAlerts* sounds = needs.sounds) {
        StatusBand* band = m_form->statusBand();
        band->audopenimgClicked = [sounds] { sounds->audopenimgClick(); };
        band->audcloseimgClicked = [sounds] { sounds->audcloseimgClick(); };
        QObject::connect(sounds, &SoundAlerts::switchChanged, band, &StatusBand::showSoundSwitch);
        band->showSoundSwitch(sounds->isOn());
    }

    m_startedAtLogin = needs.startedAtLogin;
    m_autostart = std::make_unique<AutostartEntry>(
        needs.autostartPath.isEmpty() ? AutostartEntry::userPath() : needs.autostartPath,
        needs.autostartCommand);
    TrayIcon::Actions& tray = m_form->trayIcon()->actions();
    tray.sysNotifyChecked = std::move(needs.sysNotifyChecked);
    tray.setSysNotify = std::move(needs.setSysNotify);
    tray.autostartChecked = [entry = m_autostart.get()] { return entry->exists(); };
    tray.setAutostart = [entry = m_autostart.get()](bool on) {
        QString error;
        if (!(on ? entry->write(&error) : entry->remove(&error)))
            trace(QStringLiteral("autostart entry ") + entry->path() + QStringLiteral(": ") +
                  error);
        else
            trace((on ? QStringLiteral("autostart entry written: ")
                      : QStringLiteral("autostart entry removed: ")) +
                  entry->path());
    };
}

void ShellModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("switchPae"), [form = m_form.get()](const QString& p) {
        return form->sections()->switchPae(p);
    });
}

void ShellModule::addSteps(Lifecycle& lifecycle) {
    TMainForm* form = m_form.get();
    lifecycle.onStart(StartStep::SessionTaken, [this, form] {
        form->titleBand()->topUNLab()->setText(QString::number(m_session->uid()));
    });
    lifecycle.onStart(StartStep::AppRunning,
                      [listener = m_closeMessage.get()] { listener->registerCloseMessage(); });
    lifecycle.onStart(StartStep::LoadImages, [] { skin().loadStartImages(); });
    lifecycle.onStart(StartStep::ShowFirstSection, [form] { form->showFirstSection(); });
    lifecycle.onStart(StartStep::LoadEarnGif, [form] { form->loadEarnGif(); });
    lifecycle.onStart(StartStep::LoadSkin, [form] { form->loadSkin(); });
    lifecycle.onStart(StartStep::AddTrayIcon, [this, form] {
        form->trayIcon()->addTrayIcon();
        followTray();
    });

    lifecycle.onExit(ExitStep::RemoveTrayIcon, [this, form] {
        m_trayPresence.reset();
        form->trayIcon()->removeTrayIcon();
    });
    lifecycle.onExit(ExitStep::HideWindows, [form] { form->hideForExit(); });
}

QWidget* ShellModule::contentContainer() const {
    return m_form->ConBgPae();
}

QWidget* ShellModule::middleColumn() const {
    return m_form->bgMPae();
}

IRatesTicker* ShellModule::ratesTicker() const {
    return m_form->ratesTicker();
}

void ShellModule::bringToFront(const QByteArray& startupId) {
    DesktopActivation::prepare(m_form.get(), startupId);
    m_form->bringToFront();
    DesktopActivation::finish(m_form.get(), startupId);
}

void ShellModule::followTray() {
    m_trayPresence = std::make_unique<TrayPresence>();
    TMainForm* form = m_form.get();
    QObject::connect(m_trayPresence.get(), &TrayPresence::changed, form,
                     [form](bool available) { form->setTrayAvailable(available); });
    m_trayPresence->start();
    if (m_trayPresence->available())
        form->setTrayAvailable(true);
}

void ShellModule::show() {
    m_form->showAtStart(m_startedAtLogin);
}

MainWindowControls ShellModule::mainWindowControls() const {
    TMainForm* form = m_form.get();
    return {.visible = [form] { return form->shownNormally(); },
            .show =
                [form] {
                    form->show();
                    form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
                },
            .bringToFront = [form] { form->bringToFront(); },
            .switchPae = [form](const QString& key) { form->sections()->switchPae(key); },
            .floatBarClosed = [form] { form->floatBarClosed(); }};
}

void ShellModule::showMemberState(bool member, const QString& userLabel) {
    m_form->titleBand()->setMemberState(member, userLabel);
}

} // namespace kovan
