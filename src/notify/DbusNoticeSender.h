#pragma once

#include "notify/NoticeSender.h"

#include <QDBusConnection>
#include <QObject>

namespace kovan {

// Desktop notifications through org.freedesktop.Notifications on the session bus.
//
// Its own connection to the bus at `busAddress` (the session bus's, core's sessionBusAddress()):
// no address, or a bus that cannot be reached, and nothing is ever sent. Every Notify is an
// asynchronous call that must not start the service (no D-Bus activation): without a service
// the bus answers with an error at once and nothing is shown. The server's ActionInvoked and
// NotificationClosed arrive as Events; they are taken from any sender on the bus (watching the
// service's owner would cost a blocking call), and the ids sort out whose they are.
//
// GUI thread only; replies and signals arrive through its event loop.
class DbusNoticeSender : public QObject, public NoticeSender {
    Q_OBJECT
public:
    explicit DbusNoticeSender(const QString& busAddress, QObject* parent = nullptr);
    ~DbusNoticeSender() override;

    bool connected() const;
    void setEvents(Events events) override;
    void send(const DesktopNotice& notice, std::function<void(uint id)> sent) override;

    // Notify calls not answered yet; calls the bus refused or the server failed.
    int pendingCalls() const { return m_pending; }
    int failedCalls() const { return m_failed; }

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& key);
    void onNotificationClosed(uint id, uint reason);

private:
    QString m_name; // the connection's name in QtDBus's table
    QDBusConnection m_bus;
    Events m_events;
    int m_pending = 0;
    int m_failed = 0;
};

} // namespace kovan
