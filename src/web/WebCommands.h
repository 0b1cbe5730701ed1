#pragma once

#include <QString>

#include <functional>

namespace kovan {

class CommandRegistry;
class ContentPane;
class SectionPages;

// The page commands of the web views and the content pane, registered by name. GUI thread
// only.
struct WebCommandTargets {
    ContentPane* contentPane = nullptr;
    SectionPages* sectionPages = nullptr;
};

// Registers viewinfo, forcetitle, simpletalk, livechat, forceReload and showchatroom.
void registerWebCommands(CommandRegistry& registry, const WebCommandTargets& targets);
// viewinfo's parameter {title, viurl, staytitle, destory}: throws ConversionError for text that
// is not a JSON object; calls `open` only when title and viurl are both non-empty.
void runViewInfo(
    const QString& params,
    const std::function<void(const QString&, const QString&, qint64, const QString&)>& open);

} // namespace kovan
