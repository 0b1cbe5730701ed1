#include "shell/TrayPresence.h"

#include "core/SessionBusAddress.h"
#include "core/Trace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

namespace kovan {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kXembedPollMs = 1000;
constexpr int kBusWaitMs = 1000;

xcb_connection_t* xcbConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

TrayPresence::TrayPresence(QObject* parent) : QObject(parent) {
    m_xembedPoll.setInterval(kXembedPollMs);
    connect(&m_xembedPoll, &QTimer::timeout, this, [this] {
        const bool before = available();
        readXembed();
        publish(before);
    });
}

TrayPresence::~TrayPresence() = default;

void TrayPresence::start() {
    if (!sessionBusAddress().isEmpty()) {
        // Qt's tray speaks on the session bus connection; it finds the same bus.
        QDBusConnection bus = QDBusConnection::sessionBus();
        m_watcher = new QDBusServiceWatcher(kWatcherService, bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    if (owner.isEmpty())
                        setStatusNotifier(false);
                    else
                        readHostProperty(false);
                });
        // A panel's host that registers (or leaves) after its watcher was there.
        for (const char* signal :
             {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            bus.connect(kWatcherService, kWatcherPath, kWatcherService, QLatin1String(signal), this,
                        SLOT(onHostSignal()));
        readHostProperty(true);
    }
    if (xcb_connection_t* c = xcbConnection()) {
        const QByteArray name = QByteArrayLiteral("_NET_SYSTEM_TRAY_S0");
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, false, name.size(), name.constData()), nullptr);
        if (reply) {
            m_xembedAtom = reply->atom;
            free(reply);
            readXembed();
            m_xembedPoll.start();
        }
    }
    settleKind();
    trace(QStringLiteral("tray: status notifier host %1, xembed tray %2")
              .arg(m_statusNotifier ? QStringLiteral("yes") : QStringLiteral("no"),
                   m_xembed ? QStringLiteral("yes") : QStringLiteral("no")));
}

void TrayPresence::readHostProperty(bool wait) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (wait) {
        const QDBusMessage reply = bus.call(get, QDBus::Block, kBusWaitMs);
        m_statusNotifier = reply.type() == QDBusMessage::ReplyMessage &&
                           !reply.arguments().isEmpty() &&
                           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(get, kBusWaitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusVariant> reply = *w;
        setStatusNotifier(!reply.isError() && reply.value().variant().toBool());
        w->deleteLater();
    });
}

void TrayPresence::onHostSignal() {
    readHostProperty(false);
}

void TrayPresence::setStatusNotifier(bool on) {
    const bool before = available();
    if (on != m_statusNotifier)
        trace(on ? QStringLiteral("tray: status notifier host came")
                 : QStringLiteral("tray: status notifier host went"));
    m_statusNotifier = on;
    publish(before);
}

void TrayPresence::readXembed() {
    xcb_connection_t* c = xcbConnection();
    if (!c || !m_xembedAtom)
        return;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_xembedAtom), nullptr);
    const bool on = reply && reply->owner != XCB_NONE;
    free(reply);
    if (on != m_xembed && m_xembedPoll.isActive())
        trace(on ? QStringLiteral("tray: xembed tray came")
                 : QStringLiteral("tray: xembed tray went"));
    m_xembed = on;
}

bool TrayPresence::available() const {
    switch (m_kind) {
    case Kind::StatusNotifier:
        return m_statusNotifier;
    case Kind::XEmbed:
        return m_xembed;
    case Kind::Unsettled:
        break;
    }
    return m_statusNotifier || m_xembed;
}

void TrayPresence::settleKind() {
    // Qt's own test at its first tray call: D-Bus when a host is registered, XEmbed otherwise.
    if (m_kind == Kind::Unsettled && (m_statusNotifier || m_xembed))
        m_kind = m_statusNotifier ? Kind::StatusNotifier : Kind::XEmbed;
    // Qt never turns to an XEmbed tray once it speaks to a host: no more X round trips for it
    // every second.
    if (m_kind == Kind::StatusNotifier)
        m_xembedPoll.stop();
}

void TrayPresence::publish(bool before) {
    settleKind();
    if (available() != before)
        Q_EMIT changed(available());
}

} // namespace kovan
