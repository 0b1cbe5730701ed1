#pragma once

#include "core/Endpoints.h"
#include "core/NameValueList.h"
#include "core/ProgramPaths.h"
#include "core/SessionState.h"
#include "core/SettingsStore.h"
#include "core/SyncTables.h"

#include <QJsonObject>
#include <QString>

#include <functional>

namespace kovan {

class ChartController;
class ChartRegistry;

// Opening chart windows (showChartWindow), with the chart terms gate and the default style;
// the descriptions of the default instrument (the "图形" button) and of a signal's instrument
// (viewchartbysign). GUI thread only.
class ChartLauncher {
public:
    // The settings key that records the accepted chart terms.
    static inline const QString kTermsKey = QStringLiteral("ACCEPTCHARTTOS");

    struct Hooks {
        // Shows the terms page `url` modally and returns when the window has closed; an
        // acceptance sets `settingsKey` to "1" and saves the settings before that.
        std::function<void(const QString& url, const QString& settingsKey)> showTerms;
        // A new chart window, hidden; its controller, owned by the window.
        std::function<ChartController*()> createWindow;
        std::function<void(ChartController*)> showWindow;
        // Frees a window whose init failed.
        std::function<void(ChartController*)> discardWindow;
    };

    // What the launcher reads: the settings (the accepted terms), the session (the terms
    // address, the session text each window gets), the endpoints and the sync loop's symbol
    // table. All outlive the launcher.
    struct State {
        const SettingsStore& settings;
        const SessionState& session;
        const ProgramPaths& paths;
        const SharedSyncTables& syncTables;
    };

    ChartLauncher(ChartRegistry& registry, const State& state)
        : m_registry(registry), m_state(state) {}
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Opens a chart of `sym` described by `syminfos` (JSON text) in `styles` (JSON text; empty:
    // the default style). Returns the new chart key, also when the terms were not accepted
    // (then no window opens); "" when syminfos is empty (nothing shown, not even the terms).
    // An init that fails (see ChartController::init) frees the window and passes its error on.
    QString showChartWindow(const QString& sym, const QString& syminfos, const QString& styles);

    // viewchartbysign: {"SYM", "id"} → a chart of that instrument in period H1. Throws
    // ConversionError for a parameter that is not a JSON object, an unusable code or an
    // instrument missing from the sync loop's symbol table (no terms window then).
    QString viewchartbysign(const QString& aParam);
    // A chart of `sym` in period H1 as viewchartbysign opens it, signal 0 ("查看" on a
    // triggered price alert). Throws ConversionError like viewchartbysign.
    QString openSymbolChart(const QString& sym);

    static QJsonObject defaultStyle();
    // XAGRMB, 现货白银, H1, signal 0, with the client's data and page servers.
    static QJsonObject defaultInstrument(const Endpoints& endpoints);
    // The description of `sym` from its sync table entry {showname, minpip, piplen, basepip}.
    static QJsonObject signalInstrument(const QString& sym, qint64 signalId,
                                        const QJsonObject& entry, const Endpoints& endpoints);
    // "http://<page server>/tools/tos/<sessid>/tosofchart".
    static QString termsUrl(const HostPort& pageServer, const QString& sessid);
    static bool termsAccepted(const NameValueList& settings);

private:
    // The description of `sym` from the symbol table; throws ConversionError (`what` names
    // the caller) for an unusable code or one the table does not hold.
    QJsonObject syncedInstrument(const char* what, const QString& sym, qint64 signalId) const;

    ChartRegistry& m_registry;
    State m_state;
    Hooks m_hooks;
};

} // namespace kovan
