#include "web/WebCommands.h"

#include "core/CommandRegistry.h"
#include "core/Errors.h"
#include "core/JsonParams.h"
#include "web/ContentPane.h"
#include "web/SectionPages.h"

#include <QPointer>

namespace kovan {

void runViewInfo(
    const QString& params,
    const std::function<void(const QString&, const QString&, qint64, const QString&)>& open) {
    const QJsonObject o = commandParamObject(params, "viewinfo");
    const QString title = jsonText(o, u"title");
    const QString viurl = jsonText(o, u"viurl");
    if (!title.isEmpty() && !viurl.isEmpty() && open)
        open(title, viurl, jsonInt(o, u"staytitle"), jsonText(o, u"destory"));
}

void registerWebCommands(CommandRegistry& registry, const WebCommandTargets& targets) {
    QPointer<ContentPane> pane = targets.contentPane;
    QPointer<SectionPages> pages = targets.sectionPages;
    registry.addAction(QStringLiteral("viewinfo"), [pane](const QString& p) {
        runViewInfo(p, [pane](const QString& title, const QString& url, qint64 stay,
                              const QString& destory) {
            if (pane)
                pane->showoptPage(title, url, stay, destory);
        });
    });
    registry.addAction(QStringLiteral("forcetitle"), [pane](const QString& p) {
        if (pane)
            pane->setTitle(p);
    });
    registry.add(QStringLiteral("simpletalk"), [](const QString&) { return QString(); });
    registry.addAction(QStringLiteral("livechat"), [](const QString&) {});
    registry.addAction(QStringLiteral("showchatroom"), [](const QString&) {});
    // forceReload never waits: a view that is still loading is reloaded once it is done.
    registry.addAction(QStringLiteral("forceReload"), [pages](const QString& p) {
        if (pages)
            pages->forceReload(p);
    });
}

} // namespace kovan
