#include "notify/DesktopNotices.h"

#include "core/NameValueList.h"
#include "core/SettingsKeys.h"
#include "notify/NoticeList.h"

namespace kovan {

namespace {

// The desktop entry's base name (kovan.desktop) and the icon theme's name of the client.
const QString kDesktopEntry = QStringLiteral("kovan");
// What the notification service shows as the sender.
const QString kAppName = QStringLiteral("kovan");

} // namespace

DesktopNotices::DesktopNotices(std::function<NoticeSender*()> makeSender,
                               std::function<void(int index)> view)
    : m_makeSender(std::move(makeSender)), m_view(std::move(view)) {}

QString DesktopNotices::bodyText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else
            out += c;
    }
    return out;
}

DesktopNotice DesktopNotices::noticeOf(const rbMsgRecord& notice) {
    DesktopNotice n;
    n.appName = kAppName;
    n.appIcon = kDesktopEntry;
    n.summary = notice.title;
    n.body = bodyText(notice.content);
    n.actions = {QStringLiteral("default"), QStringLiteral("查看")};
    n.hints = {{QStringLiteral("desktop-entry"), kDesktopEntry},
               {QStringLiteral("suppress-sound"), true}};
    n.expireTimeout = -1;
    return n;
}

bool DesktopNotices::isOn(const NameValueList& settings, bool windowsPlaceThemselves) {
    const QString value = settings.value(settingskeys::kSysNotify);
    if (value == u"1")
        return true;
    if (value == u"0")
        return false;
    return !windowsPlaceThemselves;
}

void DesktopNotices::setOn(NameValueList& settings, bool on) {
    settings.setValue(settingskeys::kSysNotify, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void DesktopNotices::noticeRaised(int index, const rbMsgRecord& notice, bool on) {
    if (!on)
        return;
    if (m_makeSender) {
        m_sender = m_makeSender();
        m_makeSender = {};
        if (m_sender)
            m_sender->setEvents({[this](uint id, const QString& key) { actionInvoked(id, key); },
                                 [this](uint id) { closed(id); }});
    }
    if (!m_sender)
        return;
    m_sender->send(noticeOf(notice), [this, index](uint id) { m_shown.insert(id, index); });
}

void DesktopNotices::actionInvoked(uint id, const QString& key) {
    const auto it = m_shown.constFind(id);
    if (it == m_shown.cend() || key != u"default")
        return;
    if (m_view)
        m_view(it.value());
}

void DesktopNotices::closed(uint id) {
    m_shown.remove(id);
}

} // namespace kovan
