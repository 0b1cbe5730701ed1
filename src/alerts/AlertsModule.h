#pragma once

#include "alerts/AlertDraft.h"
#include "alerts/AlertQuoteWatcher.h"
#include "alerts/PriceAlertBook.h"
#include "chart/ChartAlertLine.h"
#include "core/ClientPart.h"
#include "core/OnFirstUse.h"
#include "core/ProgramPaths.h"
#include "core/SyncTables.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace kovan {

class PriceAlertDialog;
class PriceAlertsWindow;

// The member's own price alerts: kept in <dir>/alerts.dat, checked on every sync reply, shown
// as a corner notice with the notices' sound when the bid gets there, set and changed in the
// add dialog, the alerts window "价格提醒" and on the charts.
//
// Threads and locks. The alerts live in a PriceAlertBook behind its own lock. The sync worker
// checks each reply's bids against them through quoteWatcher() (the sync tables' lock is not
// held then) and hands what a reply triggered to this object on the GUI thread as one queued
// step; the worker never waits for it. Everything else here (the notices, the sound, the log
// line, the file, the windows, the charts' lines) runs on the GUI thread.
//
// Offers: the quote watcher of the sync loop; the alerts window (tray menu, charts), the add and
// edit dialogs, the lines of a chart's symbol and their moves and removals (charts); the page
// command pricealert. Needs: the sync tables (symbols, bids), the program folder, and hooks to
// the notices (a notice, which reaches the desktop through them, its sound) and the charts
// (redraw their lines).
//
// Start-up: alerts.dat is read before the sync loop starts (ShowFirstSection), so that an alert
// passed while the client was off triggers on the first reply. Every change is written at
// once; a reply's step that arrives once the exit has begun only writes the file, and exit
// writes what a last reply changed and hides the windows. The module must outlive
// the sync worker (the program entry builds it before the sync part).
class AlertsModule : public QObject, public ClientPart {
    Q_OBJECT
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        const SharedSyncTables* syncTables = nullptr;
        const ProgramPaths* paths = nullptr;
        // A corner notice through the notice list and the pop-up, which also takes it to the
        // desktop's notification service where the member has that on (viewAct and viparam say
        // what its "查看" does).
        std::function<void(const QString& title, const QString& content, const QString& viewAct,
                           const QString& viparam)>
            raiseNotice = {};
        // The notices' default sound, the speaker switch respected.
        std::function<void()> playNoticeSound = {};
        // The alerts changed: the charts draw their lines anew.
        std::function<void()> alertsChanged = {};
    };

    AlertsModule();
    ~AlertsModule() override;

    void setNeeds(Needs needs);
    // pricealert.
    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // The sync loop's check of every reply (for NetModule's needs).
    IQuoteWatcher* quoteWatcher() { return &m_watcher; }
    PriceAlertBook& book() { return m_book; }
    QString filePath() const;

    // Reads alerts.dat (a start-up step; tests call it). A file that cannot be read or parsed
    // is kept as alerts.dat.bad and the client starts without alerts; one log line says so.
    void loadAlerts();

    // Hooks of the tray menu and the charts.
    void openWindow();
    // The add dialog for `symbol` at `price` (not a positive number: its bid) with `note`.
    void openAddDialog(const QString& symbol, double price, const QString& note = {});
    void openEditDialog(qint64 id);
    std::vector<ChartAlertLine> chartLines(const QString& symbol) const;
    // A line dragged on a chart: the alert goes to `price` (on the symbol's grid, its direction
    // fixed anew); a price the bid is at leaves it where it was.
    void moveAlert(qint64 id, double price);
    void removeAlert(qint64 id);
    void setAlertEnabled(qint64 id, bool enabled);
    // The dialog's "确定": the refusal text, or empty once the alert is in.
    QString submit(const AlertDraft& draft);

    // What one sync reply changed, on the GUI thread: a notice per trigger, the sound once,
    // a log line each, then the file and the views. Once the exit
    // procedure has begun, only the file.
    void handleCheck(const AlertCheck& check);

    PriceAlertDialog* dialog();
    PriceAlertsWindow* window();
    PriceAlertDialog* dialogIfBuilt() const { return m_dialog.ifBuilt(); }
    PriceAlertsWindow* windowIfBuilt() const { return m_window.ifBuilt(); }

private:
    void changed(); // after every change: the file, the window, the charts
    void save();
    SyncTables tables() const; // a copy that shares the tables' data

    Needs m_needs;
    PriceAlertBook m_book;
    AlertQuoteWatcher m_watcher;
    quint64 m_savedRevision = 0;
    bool m_ending = false; // the exit procedure has begun
    OnFirstUse<PriceAlertDialog> m_dialog;
    OnFirstUse<PriceAlertsWindow> m_window;
};

} // namespace kovan
