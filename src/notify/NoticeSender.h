#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace kovan {

// One desktop notification as org.freedesktop.Notifications' Notify takes it.
struct DesktopNotice {
    QString appName;
    QString appIcon;
    QString summary;     // plain text
    QString body;        // the server may read a markup subset: already escaped
    QStringList actions; // key, label, key, label, …
    QVariantMap hints;
    int expireTimeout = -1; // the server's default

    bool operator==(const DesktopNotice&) const = default;
};

// Where desktop notifications go (the session bus's notification service; a fake in tests).
// GUI thread only. Nothing it does waits for the service: send() returns at once, and
// `sent` runs later, on the GUI thread, with the server's id, or never (no service, an error).
class NoticeSender {
public:
    struct Events {
        // The user chose action `key` of notification `id` (any sender's id: the caller
        // matches it against its own).
        std::function<void(uint id, const QString& key)> actionInvoked;
        // Notification `id` went away (expired, dismissed, closed).
        std::function<void(uint id)> closed;
    };

    virtual ~NoticeSender() = default;
    // The receivers of the server's signals; set once, before the first send.
    virtual void setEvents(Events events) = 0;
    virtual void send(const DesktopNotice& notice, std::function<void(uint id)> sent) = 0;
};

} // namespace kovan
