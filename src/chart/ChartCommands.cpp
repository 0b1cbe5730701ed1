#include "chart/ChartCommands.h"

#include "chart/ChartController.h"
#include "chart/ChartLauncher.h"
#include "chart/ChartRegistry.h"
#include "core/CommandRegistry.h"
#include "core/Errors.h"
#include "core/JsonParams.h"

namespace kovan {

namespace {

const QString kNoWindow = QStringLiteral("-1");

} // namespace

void registerChartCommands(CommandRegistry& commands, const ChartCommandTargets& targets) {
    ChartRegistry* registry = targets.registry;
    ChartLauncher* launcher = targets.launcher;
    auto windowOf = [registry](const QJsonObject& o) {
        return registry->find(jsonText(o, u"ckey"));
    };

    commands.add(
        QStringLiteral("viewchartbysign"),
        [launcher](const QString& p) { return launcher->viewchartbysign(p); },
        CommandRegistry::Reply::Deferred);

    commands.add(QStringLiteral("changechart"), [windowOf](const QString& p) {
        const QJsonObject o = commandParamObject(p, "changechart");
        ChartController* w = windowOf(o);
        if (!w)
            return kNoWindow;
        const QString cf = jsonText(o, u"cf");
        if (cf == u"chartstyle")
            return w->setChartStyle(jsonValueText(o.value(QLatin1String("style"))));
        if (cf == u"period")
            return w->setPeriod(jsonText(o, u"period"));
        if (cf == u"handstyle")
            return w->setHandStyle(jsonInt(o, u"style"));
        return QStringLiteral("1");
    });

    commands.add(QStringLiteral("getchartinfo"), [registry](const QString& p) {
        ChartController* w = registry->find(p);
        return w ? w->getChartInfo() : kNoWindow;
    });

    commands.add(QStringLiteral("addInxLayer"), [windowOf](const QString& p) {
        const QJsonObject o = commandParamObject(p, "addInxLayer");
        ChartController* w = windowOf(o);
        if (!w)
            return kNoWindow;
        return w->addExtend(jsonInt(o, u"indextype"),
                            jsonValueText(o.value(QLatin1String("attrib"))));
    });

    commands.add(QStringLiteral("removeindex"), [windowOf](const QString& p) {
        const QJsonObject o = commandParamObject(p, "removeindex");
        ChartController* w = windowOf(o);
        return w ? w->removeLayer(jsonText(o, u"lkey")) : kNoWindow;
    });

    commands.add(QStringLiteral("chartshot"), [windowOf](const QString& p) {
        const QJsonObject o = commandParamObject(p, "chartshot");
        ChartController* w = windowOf(o);
        return w ? w->screenshot() : kNoWindow;
    });

    commands.addAction(QStringLiteral("removeCFP"),
                       [registry](const QString& p) { registry->removeCFP(p); });
}

} // namespace kovan
