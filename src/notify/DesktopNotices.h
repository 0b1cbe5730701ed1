#pragma once

#include "notify/NoticeSender.h"

#include <QHash>

#include <functional>

namespace kovan {

class NameValueList;
struct rbMsgRecord;

// The notices that also go to the desktop's notification service: whether the member has them
// on (config.dat's sysnotify), what one notice becomes, and which of the server's ids belongs
// to which notice so that its "查看" does for that notice what the pop-up's does.
//
// Each notice is a new notification (replaces_id 0). The ids are the server's; an id is
// forgotten once the server reports it closed. GUI thread only.
class DesktopNotices {
public:
    // `makeSender` is asked once, for the first notice that goes out (a member who keeps them
    // off never connects to the bus); it may answer null (no session bus): nothing is sent. The
    // sender it gives must outlive this object. `view` carries out the "查看" of the notice at
    // an index of the notice list.
    DesktopNotices(std::function<NoticeSender*()> makeSender, std::function<void(int index)> view);

    // The notification a notice becomes: the client's name and icon, title and content, one
    // default action "查看", the desktop entry and no sound from the server (the client plays
    // its own, once), the server's default time-out.
    static DesktopNotice noticeOf(const rbMsgRecord& notice);
    // `text` with what the body markup subset would read as markup escaped (&, <, >).
    static QString bodyText(const QString& text);

    // Whether notices go to the desktop: sysnotify "1" or "0"; absent (or another value), on
    // only where the pop-up cannot be placed.
    static bool isOn(const NameValueList& settings, bool windowsPlaceThemselves);
    static void setOn(NameValueList& settings, bool on);

    // A notice appended at `index`: sent when `on`.
    void noticeRaised(int index, const rbMsgRecord& notice, bool on);

    // The server's signals.
    void actionInvoked(uint id, const QString& key);
    void closed(uint id);

    // The notifications shown for this client's notices (ids known, not yet closed).
    int shownCount() const { return int(m_shown.size()); }
    bool knows(uint id) const { return m_shown.contains(id); }

private:
    std::function<NoticeSender*()> m_makeSender;
    NoticeSender* m_sender = nullptr;
    std::function<void(int index)> m_view;
    QHash<uint, int> m_shown; // server id → notice index
};

} // namespace kovan
