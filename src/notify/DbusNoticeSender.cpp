#include "notify/DbusNoticeSender.h"

#include "core/Trace.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace kovan {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusConnection connectTo(const QString& address, const QString& name) {
    if (address.isEmpty())
        return QDBusConnection(name); // not connected
    return QDBusConnection::connectToBus(address, name);
}

} // namespace

DbusNoticeSender::DbusNoticeSender(const QString& busAddress, QObject* parent)
    : QObject(parent), m_name(QStringLiteral("kovan-notices-%1").arg(quintptr(this), 0, 16)),
      m_bus(connectTo(busAddress, m_name)) {
    if (!m_bus.isConnected()) {
        trace(QStringLiteral("desktop notifications: no session bus"));
        return;
    }
    // An empty service: the signals of whoever serves notifications (see the class comment).
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

DbusNoticeSender::~DbusNoticeSender() {
    QDBusConnection::disconnectFromBus(m_name);
}

bool DbusNoticeSender::connected() const {
    return m_bus.isConnected();
}

void DbusNoticeSender::setEvents(Events events) {
    m_events = std::move(events);
}

void DbusNoticeSender::send(const DesktopNotice& notice, std::function<void(uint id)> sent) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call.setAutoStartService(false);
    call << notice.appName << uint(0) << notice.appIcon << notice.summary << notice.body
         << notice.actions << notice.hints << qint32(notice.expireTimeout);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    ++m_pending;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, sent = std::move(sent)](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                --m_pending;
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isError()) {
                    ++m_failed;
                    trace(QStringLiteral("desktop notification not shown: ") +
                          reply.error().name());
                    return;
                }
                if (sent)
                    sent(reply.value());
            });
}

void DbusNoticeSender::onActionInvoked(uint id, const QString& key) {
    if (m_events.actionInvoked)
        m_events.actionInvoked(id, key);
}

void DbusNoticeSender::onNotificationClosed(uint id, uint) {
    if (m_events.closed)
        m_events.closed(id);
}

} // namespace kovan
