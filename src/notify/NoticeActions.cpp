#include "notify/NoticeActions.h"

#include "core/ClientViewActs.h"
#include "core/JsonParams.h"
#include "notify/NoticeList.h"

namespace kovan {

NoticeAction noticeActionOf(const QString& viewAct) {
    if (viewAct == u"viewinfo")
        return NoticeAction::ViewInfo;
    if (viewAct == u"openurl")
        return NoticeAction::OpenUrl;
    if (viewAct == u"video")
        return NoticeAction::Video;
    if (viewAct == u"exchat")
        return NoticeAction::ExChat;
    if (viewAct == kSymbolChartViewAct)
        return NoticeAction::SymbolChart;
    return NoticeAction::BringMain;
}

QUrl webAddress(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return {};
    return url;
}

NoticeVideo noticeVideo(const rbMsgRecord& notice) {
    bool isJson = false;
    const QJsonObject o = parseJsonObject(notice.viparam, &isJson);
    if (isJson)
        return {jsonText(o, u"title"), jsonText(o, u"url")};
    return {notice.vititle, notice.viparam};
}

NoticeAction runNoticeAction(const rbMsgRecord& notice, const NoticeActionTargets& targets) {
    const NoticeAction action = noticeActionOf(notice.viewAct);
    switch (action) {
    case NoticeAction::ViewInfo:
        if (targets.showoptPage)
            targets.showoptPage(notice.vititle, notice.viparam, notice.staytitle,
                                QStringLiteral("1"));
        if (targets.raiseMainWindow)
            targets.raiseMainWindow();
        break;
    case NoticeAction::OpenUrl:
        if (const QUrl url = webAddress(notice.viparam); url.isValid() && targets.openExternal)
            targets.openExternal(url);
        break;
    case NoticeAction::Video:
        if (const NoticeVideo v = noticeVideo(notice); !v.url.isEmpty() && targets.playVideo)
            targets.playVideo(v.title, v.url);
        break;
    case NoticeAction::ExChat:
        break;
    case NoticeAction::SymbolChart:
        if (!notice.viparam.isEmpty() && targets.openSymbolChart)
            targets.openSymbolChart(notice.viparam);
        break;
    case NoticeAction::BringMain:
        if (targets.raiseMainWindow)
            targets.raiseMainWindow();
        break;
    }
    return action;
}

} // namespace kovan
