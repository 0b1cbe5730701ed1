#include "chart/ChartLauncher.h"

#include "chart/ChartCodes.h"
#include "chart/ChartController.h"
#include "chart/ChartRegistry.h"
#include "core/Errors.h"
#include "core/Escaping.h"
#include "core/JsonParams.h"
#include "core/Trace.h"

namespace kovan {

QJsonObject ChartLauncher::defaultStyle() {
    return QJsonObject{{QStringLiteral("back"), QStringLiteral("#000000")},
                       {QStringLiteral("front"), QStringLiteral("#FFFFFF")},
                       {QStringLiteral("kwidth"), 3},
                       {QStringLiteral("kmargin"), 1},
                       {QStringLiteral("linetype"), 0},
                       {QStringLiteral("yinzhu"), QStringLiteral("#00FF00")},
                       {QStringLiteral("yangzhu"), QStringLiteral("#FF0000")},
                       {QStringLiteral("yinxian"), QStringLiteral("#00FF00")},
                       {QStringLiteral("yangxian"), QStringLiteral("#FF0000")},
                       {QStringLiteral("gridline"), QString()},
                       {QStringLiteral("broken"), QStringLiteral("#FFFFFF")}};
}

QJsonObject ChartLauncher::defaultInstrument(const Endpoints& endpoints) {
    return QJsonObject{{QStringLiteral("symbol"), QStringLiteral("XAGRMB")},
                       {QStringLiteral("showname"), QStringLiteral("现货白银")},
                       {QStringLiteral("period"), QStringLiteral("H1")},
                       {QStringLiteral("signid"), 0},
                       {QStringLiteral("baseurl"), endpoints.dataServer.hostAndPort()},
                       {QStringLiteral("appurl"), endpoints.pageServer.hostAndPort()},
                       {QStringLiteral("PIPMIN"), 1},
                       {QStringLiteral("PIPLEN"), 0},
                       {QStringLiteral("BASEPIP"), 8}};
}

QJsonObject ChartLauncher::signalInstrument(const QString& sym, qint64 signalId,
                                            const QJsonObject& e, const Endpoints& endpoints) {
    return QJsonObject{{QStringLiteral("symbol"), sym},
                       {QStringLiteral("period"), QStringLiteral("H1")},
                       {QStringLiteral("baseurl"), endpoints.dataServer.hostAndPort()},
                       {QStringLiteral("PIPMIN"), jsonReal(e, u"minpip")},
                       {QStringLiteral("PIPLEN"), jsonInt(e, u"piplen")},
                       {QStringLiteral("BASEPIP"), jsonInt(e, u"basepip")},
                       {QStringLiteral("showname"), jsonText(e, u"showname")},
                       {QStringLiteral("appurl"), endpoints.pageServer.hostAndPort()},
                       {QStringLiteral("signid"), signalId}};
}

QString ChartLauncher::termsUrl(const HostPort& pageServer, const QString& sessid) {
    return pageServer.root() + QStringLiteral("/tools/tos/") + urlPathSegment(sessid) +
           QStringLiteral("/tosofchart");
}

bool ChartLauncher::termsAccepted(const NameValueList& settings) {
    bool ok = false;
    const int v = settings.value(kTermsKey).trimmed().toInt(&ok);
    return ok && v == 1;
}

QString ChartLauncher::showChartWindow(const QString& sym, const QString& syminfos,
                                       const QString& styles) {
    const QString style = styles.isEmpty() ? compactJson(defaultStyle()) : styles;
    if (syminfos.isEmpty())
        return QString();
    if (!termsAccepted(m_state.settings) && m_hooks.showTerms)
        m_hooks.showTerms(termsUrl(m_state.paths.endpoints.pageServer, m_state.session.sessid()),
                          kTermsKey);
    const QString key = m_registry.newKey();
    if (!termsAccepted(m_state.settings) || !m_hooks.createWindow)
        return key; // a key that names no window: its commands answer "-1"

    ChartController* window = m_hooks.createWindow();
    try {
        window->init(syminfos, style, m_state.session.sessInfoText, key);
    } catch (...) {
        if (m_hooks.discardWindow)
            m_hooks.discardWindow(window);
        throw;
    }
    m_registry.append({window, key, sym, QString()});
    if (m_hooks.showWindow)
        m_hooks.showWindow(window);
    return key;
}

QJsonObject ChartLauncher::syncedInstrument(const char* what, const QString& sym,
                                            qint64 signalId) const {
    requireChartCode((std::string(what) + ": SYM").c_str(), sym);
    const QJsonObject table =
        m_state.syncTables.with([](const SyncTables& t) { return t.symbolInfo; });
    const QJsonValue entry = table.value(sym);
    if (!entry.isObject())
        throw ConversionError(std::string(what) + ": unknown instrument " + sym.toStdString());
    return signalInstrument(sym, signalId, entry.toObject(), m_state.paths.endpoints);
}

QString ChartLauncher::viewchartbysign(const QString& aParam) {
    const QJsonObject params = commandParamObject(aParam, "viewchartbysign");
    const QString sym = jsonText(params, u"SYM");
    const QJsonObject description =
        syncedInstrument("viewchartbysign", sym, jsonInt(params, u"id"));
    return showChartWindow(sym, compactJson(description), QString());
}

QString ChartLauncher::openSymbolChart(const QString& sym) {
    return showChartWindow(sym, compactJson(syncedInstrument("openSymbolChart", sym, 0)),
                           QString());
}

} // namespace kovan
