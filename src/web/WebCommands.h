#pragma once

#include <QString>

#include <functional>

namespace kovan {

class CommandRegistry;
class ContentPane;
class SectionPages;

// The page commands of the web views, registered by name. The windows they drive are handed
// in as hooks so that this library does not depend on the windows library:
//  - shownormalwindow(title, url): the plain web window (TcsnmForm::shownormalwindow);
//  - showLecture(): shows the lecture pop-up modally and returns when it closes; empty or
//    returning false when no lecture is configured.
// GUI thread only.
struct WebCommandTargets {
    ContentPane* contentPane = nullptr;
    SectionPages* sectionPages = nullptr;
    std::function<void(const QString& title, const QString& url)> shownormalwindow;
    std::function<bool()> showLecture;
};

// Registers normalwindow, viewinfo, forcetitle, showyyopen (deferred: modal), simpletalk,
// livechat, forceReload and showchatroom.
void registerWebCommands(CommandRegistry& registry, const WebCommandTargets& targets);

// normalwindow's parameter {url, title}: throws ConversionError for text that is not a JSON
// object; calls `show` only when url is non-empty.
void runNormalWindow(const QString& aParam,
                     const std::function<void(const QString&, const QString&)>& show);
// viewinfo's parameter {title, viurl, staytitle, destory}: throws ConversionError for text that
// is not a JSON object; calls `open` only when title and viurl are both non-empty.
void runViewInfo(
    const QString& params,
    const std::function<void(const QString&, const QString&, qint64, const QString&)>& open);

} // namespace kovan
