#include "chart/ChartModule.h"

#include "chart/ChartAlertMenus.h"
#include "chart/ChartCommands.h"
#include "chart/ChartLauncher.h"
#include "chart/ChartRegistry.h"
#include "chart/TChartForm.h"
#include "core/CommandRegistry.h"
#include "core/JsonParams.h"
#include "core/Lifecycle.h"
#include "core/Trace.h"

#include <QGuiApplication>
#include <QScreen>

#include <exception>

namespace kovan {

ChartModule::ChartModule() : m_registry(std::make_unique<ChartRegistry>()) {}

ChartModule::~ChartModule() {
    // Web views go before the application object; each window stops its feed as it goes.
    for (const QPointer<TChartForm>& form : m_windows)
        delete form.data();
}

void ChartModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
    m_launcher = std::make_unique<ChartLauncher>(
        *m_registry, ChartLauncher::State{*m_needs.settings, *m_needs.session, *m_needs.paths,
                                          *m_needs.syncTables});
    ChartLauncher::Hooks hooks;
    hooks.showTerms = [this](const QString& url, const QString& key) {
        if (m_needs.showTerms)
            m_needs.showTerms(url, key);
    };
    hooks.createWindow = [this] { return createWindow(); };
    hooks.showWindow = [this](ChartController* c) {
        if (auto* form = qobject_cast<TChartForm*>(c->parent())) {
            showAlertLines(*form);
            // Centred on the screen, each further window 24 pixels lower right.
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                const int shift = 24 * ((m_windows.size() - 1) % 8);
                form->move(screen->availableGeometry().center() - form->rect().center() +
                           QPoint(shift, shift));
            }
            form->show();
            form->raise();
            form->activateWindow();
        }
    };
    hooks.discardWindow = [this](ChartController* c) {
        if (auto* form = qobject_cast<TChartForm*>(c->parent())) {
            m_windows.removeAll(form);
            delete form;
        }
    };
    m_launcher->setHooks(hooks);
}

void ChartModule::registerCommands(CommandRegistry& registry) {
    m_commands = &registry;
    registerChartCommands(registry, {m_registry.get(), m_launcher.get()});
}

void ChartModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onExit(ExitStep::StopWorkers, [this] {
        for (TChartForm* form : windows())
            form->controller().close();
    });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        for (TChartForm* form : windows())
            form->hide();
    });
    lifecycle.waitAtExit(QStringLiteral("chart feeds"), [this] {
        for (TChartForm* form : windows())
            if (form->controller().feed().CPThread())
                return false;
        return true;
    });
}

QList<TChartForm*> ChartModule::windows() const {
    QList<TChartForm*> out;
    for (const QPointer<TChartForm>& form : m_windows)
        if (form)
            out.append(form.data());
    return out;
}

ChartController* ChartModule::createWindow() {
    ChartController::Options options = m_options;
    if (options.programDir.isEmpty())
        options.programDir = m_needs.paths->programDir;
    if (!options.appRunning)
        options.appRunning = m_needs.appRunning;
    Q_ASSERT(m_commands); // registerCommands came first
    auto* form = new TChartForm(options, *m_commands);
    form->alertMenus().setActions(m_needs.alerts);
    m_windows.append(form);
    QObject::connect(form, &TChartForm::closed, form,
                     [this, form](const QString& ckey) { windowClosed(form, ckey); });
    return &form->controller();
}

void ChartModule::windowClosed(TChartForm* form, const QString& ckey) {
    m_registry->removeCFP(ckey);
    m_windows.removeAll(form);
    trace(QStringLiteral("chart window closed"));
    form->deleteLater();
}

void ChartModule::showAlertLines(TChartForm& form) {
    ChartController& c = form.controller();
    c.setAlertLines(m_needs.alerts.lines ? m_needs.alerts.lines(c.symbol())
                                         : std::vector<ChartAlertLine>());
}

void ChartModule::refreshAlertLines() {
    for (TChartForm* form : windows())
        showAlertLines(*form);
}

void ChartModule::openSymbolChart(const QString& symbol) {
    try {
        m_launcher->openSymbolChart(symbol);
    } catch (const std::exception& e) {
        trace(QStringLiteral("chart not opened: ") + QString::fromUtf8(e.what()));
    }
}

void ChartModule::openChart() {
    try {
        m_launcher->showChartWindow(
            QStringLiteral("XAGRMB"),
            compactJson(ChartLauncher::defaultInstrument(m_needs.paths->endpoints)), QString());
    } catch (const std::exception& e) {
        trace(QStringLiteral("chart not opened: ") + QString::fromUtf8(e.what()));
    }
}

} // namespace kovan
