#pragma once

#include "core/PageHooks.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace kovan {

struct rbMsgRecord;

// What the pop-up's "查看" does for a notice, by its viewAct. The callables may be empty (the
// step is skipped). GUI thread only.
struct NoticeActionTargets {
    // Opens a page-server page "/tools/" + params in the content pane.
    ShowOptPage showoptPage;
    // Makes the main window visible when hidden and brings it to the front.
    std::function<void()> raiseMainWindow;
    // Opens an http or https address in the system's web browser.
    std::function<void(const QUrl& url)> openExternal;
    // Downloads and plays a video in the video window.
    std::function<void(const QString& title, const QString& url)> playVideo;
    // Opens a chart of a symbol of the synced table in period H1, through the chart terms.
    std::function<void(const QString& symbol)> openSymbolChart = {};
};

enum class NoticeAction {
    ViewInfo,    // "viewinfo": viparam in the content pane, captioned vititle; main window up
    OpenUrl,     // "openurl": viparam in the web browser (http and https only)
    Video,       // "video": viparam in the video window
    ExChat,      // "exchat": nothing
    SymbolChart, // "symbolchart" (the client's own price alerts): a chart of the code viparam
    BringMain,   // anything else, the empty text included: the main window up
};

NoticeAction noticeActionOf(const QString& viewAct);

// `text` as an absolute http or https address with a host; any other text (file:,
// javascript:, a bare path, a malformed address) gives an invalid QUrl. Page data must never
// make the client open a local file or start a program.
QUrl webAddress(const QString& text);

// The video a notice names: viparam is either the video window's JSON text {url, title} or a
// bare address (then vititle is the caption). Empty url when neither holds an address.
struct NoticeVideo {
    QString title;
    QString url;
};
NoticeVideo noticeVideo(const rbMsgRecord& notice);

// Carries out the notice's action; answers what it was.
NoticeAction runNoticeAction(const rbMsgRecord& notice, const NoticeActionTargets& targets);

} // namespace kovan
