#pragma once

#include "chart/ChartAlertLine.h"
#include "chart/ChartController.h"
#include "core/AppRunningFlag.h"
#include "core/ClientPart.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SettingsStore.h"
#include "core/SyncTables.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace kovan {

class ChartLauncher;
class ChartRegistry;
class CommandRegistry;
class Lifecycle;
class TChartForm;

// The chart windows: each a live chart of one instrument with its panel page, opened by the
// signal section's "图形" button and by page commands (see ChartCommands.h), kept in the chart
// registry while open.
//
// Offers: openChart, for the "图形" button; openSymbolChart and refreshAlertLines for the price
// alerts; the page commands viewchartbysign, changechart, getchartinfo, addInxLayer,
// removeindex, chartshot and removeCFP. Needs: the settings, the session, the paths and the
// sync tables (see ChartLauncher::State), the chart terms window and the price alerts (the
// lines to draw, what the windows' alert menus do). Exit: every window's feed is stopped with the
// other workers, the windows hidden.
//
// GUI thread only. Closed windows are deleted (their feeds stopped first); the rest go with
// the module, before the application object.
class ChartModule : public ClientPart {
public:
    struct Needs {
        // State pieces, required; they outlive the module.
        const SettingsStore* settings = nullptr;
        const SessionState* session = nullptr;
        const ProgramPaths* paths = nullptr;
        const SharedSyncTables* syncTables = nullptr;
        const AppRunningFlag* appRunning = nullptr; // feeds are replaced while it holds
        // Shows the terms page `url` modally; an acceptance sets `settingsKey` to "1" and saves
        // the settings before the window closes. Returns when it has closed.
        std::function<void(const QString& url, const QString& settingsKey)> showTerms = {};
        // The member's price alerts: the lines each window draws, its menus' actions.
        ChartAlertActions alerts = {};
    };

    ChartModule();
    ~ChartModule();
    ChartModule(const ChartModule&) = delete;
    ChartModule& operator=(const ChartModule&) = delete;

    // Once, before anything else is asked of the module: makes the launcher.
    void setNeeds(Needs needs);
    // The chart commands; chart panel pages are answered from this registry.
    void registerCommands(CommandRegistry& registry) override;
    void addSteps(Lifecycle& lifecycle) override;

    // The "图形" button of the signal section: the default instrument in the default style.
    void openChart();
    // "查看" on a triggered price alert: a chart of a synced symbol in period H1 (through the
    // terms gate). A symbol the table does not hold opens nothing (a log line says so).
    void openSymbolChart(const QString& symbol);
    // The price alerts changed: every window draws its symbol's lines anew.
    void refreshAlertLines();

    ChartRegistry& registry() { return *m_registry; }
    ChartLauncher& launcher() { return *m_launcher; }
    QList<TChartForm*> windows() const;
    // Feed timing of windows opened from now on (tests).
    void setWindowOptions(const ChartController::Options& options) { m_options = options; }

private:
    ChartController* createWindow();
    void showAlertLines(TChartForm& form);
    void windowClosed(TChartForm* form, const QString& ckey);

    Needs m_needs;
    std::unique_ptr<ChartRegistry> m_registry;
    std::unique_ptr<ChartLauncher> m_launcher;
    CommandRegistry* m_commands = nullptr;
    ChartController::Options m_options;
    QList<QPointer<TChartForm>> m_windows;
};

} // namespace kovan
