#pragma once

#include "core/Guarded.h"
#include "core/ProgramState.h"

#include <QJsonObject>
#include <QString>

#include <functional>

namespace kovan {

class CommandRegistry;
class NoticeList;

// The sound of a notice that names none of its own.
inline const QString kDefaultNoticeSound = QStringLiteral("alert.wav");

// What the signal and message commands act on. The callables may be empty (the step is then
// skipped); the pointers must outlive the registered commands.
struct NotifyCommandTargets {
    NoticeList* notices = nullptr;
    // The corner pop-up's showMsg with the index of the newest notice.
    std::function<void(int index)> showMsg;
    // The speaker switch of the main window (notices only sound while it is on).
    std::function<bool()> soundOn;
    // Plays a sound file of the sound folder, fetching it first when missing.
    std::function<void(const QString& audFile)> audioPlay;
    // The news list, shared with the sync worker and the news ticker.
    Guarded<QList<topInfoRuntimeRecord>>* topInfoList = nullptr;
    // {"itemcount": n, "items": [...]}, GUI thread only.
    QJsonObject* realtimeSignals = nullptr;
    // The floating bar's instant-trade strip shows the first held signal again (Label5Click).
    std::function<void()> refreshInstantTrade;
};

// tipwindow, addfloatmsg, realsign and playaudio. Each answers "1"; a parameter text that is not
// a JSON object (and a realsign without an "items" array) throws ConversionError before any list
// changes, which the bridge hands back to the page as a script error. GUI thread only; the news
// list is touched only under its lock, which is never held while another part is called.
class NotifyCommands {
public:
    explicit NotifyCommands(NotifyCommandTargets targets) : m_t(std::move(targets)) {}

    // Appends a notice, shows it in the corner pop-up and, with the switch on, sounds `audio`
    // or "alert.wav".
    QString tipwindow(const QString& params);
    // Appends a news item (never expiring) unless one with the same id and type is held.
    QString addfloatmsg(const QString& params);
    // Merges signals by id (a known one only takes a changed tp and sl), then refreshes the
    // instant-trade strip.
    QString realsign(const QString& params);
    // Plays `audio`, whatever the switch says.
    QString playaudio(const QString& params);

private:
    NotifyCommandTargets m_t;
};

// Registers the four commands above on `registry`.
void registerNotifyCommands(CommandRegistry& registry, NotifyCommandTargets targets);

} // namespace kovan
