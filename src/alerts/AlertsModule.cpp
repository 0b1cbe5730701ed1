#include "alerts/AlertsModule.h"

#include "alerts/AlertFile.h"
#include "alerts/AlertNotice.h"
#include "alerts/AlertRows.h"
#include "alerts/PriceAlertCommand.h"
#include "alerts/PriceAlertDialog.h"
#include "alerts/PriceAlertsWindow.h"
#include "alerts/SymbolQuote.h"
#include "core/ClientViewActs.h"
#include "core/CommandRegistry.h"
#include "core/Lifecycle.h"
#include "core/Trace.h"

#include <QMetaObject>
#include <QTimer>

namespace kovan {

AlertsModule::AlertsModule()
    : m_watcher(m_book,
                [this](AlertCheck check) {
                    // On the sync worker: queued, so that the worker never waits for windows.
                    QMetaObject::invokeMethod(
                        this, [this, check = std::move(check)] { handleCheck(check); },
                        Qt::QueuedConnection);
                }),
      m_dialog([this] {
          return std::make_unique<PriceAlertDialog>(
              [this] { return symbolQuotes(tables()); },
              [this](const AlertDraft& d) { return submit(d); });
      }),
      m_window([this] {
          PriceAlertsWindow::Source source;
          source.rows = [this] {
              const SymbolQuotes quotes(tables());
              std::vector<std::pair<PriceAlert, AlertRow>> rows;
              for (const PriceAlert& a : m_book.alerts())
                  rows.emplace_back(a, alertRow(a, quotes.find(a.symbol)));
              return rows;
          };
          source.add = [this] { openAddDialog(QString(), 0); };
          source.edit = [this](qint64 id) { openEditDialog(id); };
          source.remove = [this](qint64 id) { removeAlert(id); };
          source.setEnabled = [this](qint64 id, bool on) { setAlertEnabled(id, on); };
          return std::make_unique<PriceAlertsWindow>(std::move(source));
      }) {}

AlertsModule::~AlertsModule() = default;

void AlertsModule::setNeeds(Needs needs) {
    m_needs = std::move(needs);
}

SyncTables AlertsModule::tables() const {
    return m_needs.syncTables ? m_needs.syncTables->snapshot() : SyncTables::initial();
}

QString AlertsModule::filePath() const {
    return m_needs.paths->programDir + alertfile::kFileName;
}

void AlertsModule::registerCommands(CommandRegistry& registry) {
    registry.add(QStringLiteral("pricealert"), [this](const QString& params) {
        const std::optional<PriceAlertRequest> r =
            readPriceAlertRequest(params, tables().symbolInfo);
        if (!r)
            return QStringLiteral("-1");
        // After the page's call has returned: the dialog does not hold the page up.
        QTimer::singleShot(0, this, [this, r = *r] { openAddDialog(r.symbol, r.price, r.note); });
        return QStringLiteral("1");
    });
}

void AlertsModule::addSteps(Lifecycle& lifecycle) {
    lifecycle.onStart(StartStep::ShowFirstSection, [this] { loadAlerts(); });
    // A reply's step that comes in while the client ends keeps its changes, shows nothing.
    lifecycle.onExit(ExitStep::StopWorkers, [this] { m_ending = true; });
    lifecycle.onExit(ExitStep::HideWindows, [this] {
        save();
        if (PriceAlertDialog* d = m_dialog.ifBuilt())
            d->hide();
        if (PriceAlertsWindow* w = m_window.ifBuilt())
            w->hide();
    });
}

void AlertsModule::loadAlerts() {
    const QString path = filePath();
    alertfile::ReadResult r = alertfile::read(path);
    if (r.status == alertfile::ReadResult::Status::Bad) {
        const bool kept = alertfile::keepAsBad(path);
        trace(QStringLiteral("alerts.dat not read (%1): %2, no price alerts")
                  .arg(r.problem, kept ? QStringLiteral("kept as alerts.dat.bad")
                                       : QStringLiteral("could not be moved aside")));
    }
    const int leftOut = m_book.replaceAll(std::move(r.alerts));
    if (leftOut > 0)
        trace(QStringLiteral("alerts.dat: %1 alerts past the %2 left out")
                  .arg(leftOut)
                  .arg(PriceAlertBook::kMaxAlerts));
    m_savedRevision = m_book.revision(); // nothing to write back
    if (m_needs.alertsChanged)
        m_needs.alertsChanged();
}

void AlertsModule::save() {
    const quint64 revision = m_book.revision();
    if (revision == m_savedRevision)
        return;
    QString error;
    if (alertfile::write(filePath(), m_book.alerts(), &error))
        m_savedRevision = revision;
    else
        trace(QStringLiteral("alerts.dat not written: ") + error);
}

void AlertsModule::changed() {
    save();
    if (PriceAlertsWindow* w = m_window.ifBuilt(); w && w->isVisible())
        w->refresh();
    if (m_needs.alertsChanged)
        m_needs.alertsChanged();
}

void AlertsModule::handleCheck(const AlertCheck& check) {
    if (m_ending) {
        save();
        return;
    }
    for (const AlertTrigger& t : check.triggers) {
        trace(alertLogLine(t));
        const AlertNoticeText n = alertNoticeText(t);
        if (m_needs.raiseNotice)
            m_needs.raiseNotice(n.title, n.content, kSymbolChartViewAct, n.viparam);
    }
    if (!check.triggers.empty() && m_needs.playNoticeSound)
        m_needs.playNoticeSound(); // once per reply, however many triggered
    changed();
}

PriceAlertDialog* AlertsModule::dialog() {
    return m_dialog.get();
}

PriceAlertsWindow* AlertsModule::window() {
    return m_window.get();
}

void AlertsModule::openWindow() {
    window()->showWindow();
}

void AlertsModule::openAddDialog(const QString& symbol, double price, const QString& note) {
    dialog()->openNew(symbol, price, note);
}

void AlertsModule::openEditDialog(qint64 id) {
    if (const std::optional<PriceAlert> a = m_book.find(id))
        dialog()->openEdit(*a);
}

std::vector<ChartAlertLine> AlertsModule::chartLines(const QString& symbol) const {
    std::vector<ChartAlertLine> lines;
    for (const PriceAlert& a : m_book.alerts())
        if (a.symbol == symbol && a.active())
            lines.push_back({a.id, a.price});
    return lines;
}

QString AlertsModule::submit(const AlertDraft& draft) {
    const DraftOutcome o = makeAlert(draft, symbolQuote(tables(), draft.symbol));
    if (!o.alert)
        return o.refusal;
    const PriceAlertBook::Outcome r =
        draft.id != 0 ? m_book.update(*o.alert) : m_book.add(*o.alert);
    if (r != PriceAlertBook::Outcome::Done)
        return refusalText(r);
    changed();
    return QString();
}

void AlertsModule::moveAlert(qint64 id, double price) {
    const std::optional<PriceAlert> a = m_book.find(id);
    if (!a)
        return;
    const AlertDraft d{a->id, a->symbol, price, a->direction, a->note, a->repeat, a->enabled};
    const DraftOutcome o = makeAlert(d, symbolQuote(tables(), a->symbol));
    if (!o.alert || m_book.update(*o.alert) != PriceAlertBook::Outcome::Done) {
        if (m_needs.alertsChanged)
            m_needs.alertsChanged(); // the line goes back to where it was
        return;
    }
    changed();
}

void AlertsModule::removeAlert(qint64 id) {
    if (m_book.remove(id) == PriceAlertBook::Outcome::Done)
        changed();
}

void AlertsModule::setAlertEnabled(qint64 id, bool enabled) {
    if (m_book.setEnabled(id, enabled) == PriceAlertBook::Outcome::Done)
        changed();
}

} // namespace kovan
