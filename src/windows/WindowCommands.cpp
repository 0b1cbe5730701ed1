#include "windows/WindowCommands.h"

#include "core/CommandRegistry.h"
#include "core/JsonParams.h"

namespace kovan {

void runNormalWindow(const QString& aParam,
                     const std::function<void(const QString&, const QString&)>& show) {
    const QJsonObject o = commandParamObject(aParam, "normalwindow");
    const QString url = jsonText(o, u"url");
    if (!url.isEmpty() && show)
        show(jsonText(o, u"title"), url);
}

void registerWindowCommands(CommandRegistry& registry, const WindowCommandTargets& targets) {
    registry.addAction(
        QStringLiteral("normalwindow"),
        [show = targets.shownormalwindow](const QString& p) { runNormalWindow(p, show); });
    registry.addAction(
        QStringLiteral("showyyopen"),
        [showLecture = targets.showLecture](const QString&) {
            if (showLecture)
                showLecture();
        },
        CommandRegistry::Reply::Deferred);
}

} // namespace kovan
