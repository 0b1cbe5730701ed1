#include "DesktopParts.h"

#include "WaitUntil.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <xcb/xcb.h>

namespace kovan::test {

bool OwnedProcess::start(const QString& program, const QStringList& args,
                         const QProcessEnvironment& env, QString* why) {
    stop();
    if (QStandardPaths::findExecutable(program).isEmpty() && !QFile::exists(program)) {
        *why = program + QStringLiteral(" is not installed (scripts/deps installs it)");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->start(program, args);
    if (!m_process->waitForStarted(10000)) {
        *why = program + QStringLiteral(" did not start: ") + m_process->errorString();
        m_process.reset();
        return false;
    }
    return true;
}

void OwnedProcess::stop() {
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    output(); // keep what it printed for a later failure message
    m_process.reset();
}

QString OwnedProcess::output() {
    if (m_process) {
        m_out += m_process->readAllStandardOutput();
        m_err += m_process->readAllStandardError();
    }
    return QString::fromLocal8Bit(m_out + m_err);
}

bool SessionBus::start(QString* why) {
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder for the bus");
        return false;
    }
    m_address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!m_daemon.start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--nopidfile"), QStringLiteral("--address=") + m_address},
                        env, why))
        return false;
    // Ready once a client can ask the bus itself who owns its own name.
    if (!waitForService(QStringLiteral("org.freedesktop.DBus"), 10000)) {
        *why = QStringLiteral("the session bus did not come up: ") + m_daemon.output();
        return false;
    }
    return true;
}

QProcessEnvironment SessionBus::environment(QProcessEnvironment env) const {
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return env;
}

bool SessionBus::hasOwner(const QString& service) const {
    // dbus-send keeps the test program itself off the bus: Qt's session connection is made
    // once per process, and tests start and stop buses of their own.
    QProcess send;
    send.setProcessEnvironment(environment());
    send.start(
        QStringLiteral("dbus-send"),
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
         QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
         QStringLiteral("org.freedesktop.DBus.NameHasOwner"), QStringLiteral("string:") + service});
    if (!send.waitForFinished(5000) || send.exitCode() != 0)
        return false;
    return send.readAllStandardOutput().contains("boolean true");
}

bool SessionBus::waitForService(const QString& service, int ms) const {
    return waitUntil([&] { return hasOwner(service); }, ms);
}

bool NotificationDaemon::start(const SessionBus& bus, QString* why) {
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder for the log");
        return false;
    }
    // Debian's interpreter, where python3-dbusmock is installed (a python3 earlier on PATH, a
    // pyenv's say, has not got it).
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    if (!m_process.start(python,
                         {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                          QStringLiteral("--session"), QStringLiteral("-t"),
                          QStringLiteral("notification_daemon"), QStringLiteral("-l"), logPath()},
                         bus.environment(), why))
        return false;
    if (!bus.waitForService(QStringLiteral("org.freedesktop.Notifications"), 15000)) {
        *why = QStringLiteral("the notification daemon did not come up (python3-dbusmock?): ") +
               m_process.output();
        return false;
    }
    return true;
}

QStringList NotificationDaemon::notifyLines() const {
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (line.contains("Notify"))
            lines.append(QString::fromUtf8(line));
    return lines;
}

} // namespace kovan::test

namespace kovan::test {

namespace {

// The watcher's program. Its Introspect answers by hand: dbus-python's own lists no properties.
constexpr char kWatcherScript[] = R"PY(
import sys, time
import dbus, dbus.service, dbus.mainloop.glib
from gi.repository import GLib

IFACE = 'org.kde.StatusNotifierWatcher'
XML = '''<node>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
 </interface>
</node>'''

log = open(sys.argv[1], 'a', buffering=1)
t0 = time.monotonic()

class Watcher(dbus.service.Object):
    def __init__(self, bus):
        dbus.service.Object.__init__(self, bus, '/StatusNotifierWatcher')
        self.items = []

    @dbus.service.method('org.freedesktop.DBus.Introspectable', out_signature='s')
    def Introspect(self):
        return XML

    @dbus.service.method('org.freedesktop.DBus.Properties', in_signature='ss', out_signature='v')
    def Get(self, iface, name):
        return self.GetAll(iface)[name]

    @dbus.service.method('org.freedesktop.DBus.Properties', in_signature='s',
                         out_signature='a{sv}')
    def GetAll(self, iface):
        return {'RegisteredStatusNotifierItems': dbus.Array(self.items, signature='s'),
                'IsStatusNotifierHostRegistered': dbus.Boolean(True),
                'ProtocolVersion': dbus.Int32(0)}

    @dbus.service.method(IFACE, in_signature='s', sender_keyword='sender')
    def RegisterStatusNotifierItem(self, service, sender=None):
        item = sender if service.startswith('/') else service
        self.items.append(item)
        log.write('register %s %d\n' % (item, int((time.monotonic() - t0) * 1000)))
        self.StatusNotifierItemRegistered(item)

    @dbus.service.method(IFACE, in_signature='s')
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(IFACE, signature='s')
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(IFACE)
    def StatusNotifierHostRegistered(self):
        pass

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
watcher = Watcher(bus)
name = dbus.service.BusName(IFACE, bus)
t0 = time.monotonic()
log.write('up\n')
watcher.StatusNotifierHostRegistered()
GLib.MainLoop().run()
)PY";

// Debian's interpreter: python3-dbus is a Debian package, and a python3 earlier on PATH (a
// virtual environment, pyenv) would not have it.
QString debianPython() {
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

} // namespace

bool StatusNotifierWatcher::start(const SessionBus& bus, QString* why) {
    m_bus = &bus;
    if (!m_dir.isValid()) {
        *why = QStringLiteral("no temporary folder for the watcher");
        return false;
    }
    const QString script = m_dir.filePath(QStringLiteral("watcher.py"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) || file.write(kWatcherScript) < 0) {
        *why = QStringLiteral("cannot write ") + script;
        return false;
    }
    file.close();
    if (!m_process.start(debianPython(), {script, m_dir.filePath(QStringLiteral("watcher.log"))},
                         bus.environment(), why))
        return false;
    if (!bus.waitForService(QStringLiteral("org.kde.StatusNotifierWatcher"), 15000) ||
        !waitUntil([this] { return logLines().contains(QStringLiteral("up")); }, 5000)) {
        *why = QStringLiteral("the watcher did not come up (python3-dbus?): ") + m_process.output();
        return false;
    }
    return true;
}

void StatusNotifierWatcher::stop() {
    m_process.stop();
    if (m_bus)
        waitUntil(
            [this] { return !m_bus->hasOwner(QStringLiteral("org.kde.StatusNotifierWatcher")); },
            5000);
}

QStringList StatusNotifierWatcher::logLines() const {
    QFile log(m_dir.filePath(QStringLiteral("watcher.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QStringList StatusNotifierWatcher::registeredItems() const {
    QStringList items;
    for (const QString& line : logLines())
        if (line.startsWith(QStringLiteral("register ")))
            items << line.section(u' ', 1, 1);
    return items;
}

qint64 StatusNotifierWatcher::firstRegistrationMs() const {
    for (const QString& line : logLines())
        if (line.startsWith(QStringLiteral("register ")))
            return line.section(u' ', 2, 2).toLongLong();
    return -1;
}

QString gdbusCall(const SessionBus& bus, const QStringList& args, QString* why) {
    QProcess call;
    call.setProcessEnvironment(bus.environment());
    call.start(QStringLiteral("gdbus"),
               QStringList{QStringLiteral("call"), QStringLiteral("--session")} + args);
    if (!call.waitForFinished(10000) || call.exitCode() != 0) {
        if (why)
            *why = QString::fromUtf8(call.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(call.readAllStandardOutput());
}

QList<DbusMenuItem> dbusMenuItems(const QString& reply) {
    // Each item is "(id, {properties}, [children])"; gdbus prints labels as 'label': <'…'>.
    static const QRegularExpression item(QStringLiteral(R"(\((\d+), \{([^{}]*)\}, (?:@av )?\[)"));
    static const QRegularExpression label(QStringLiteral(R"('label': <'([^']*)'>)"));
    static const QRegularExpression toggle(QStringLiteral(R"('toggle-state': <(-?\d+)>)"));
    QList<DbusMenuItem> items;
    for (auto it = item.globalMatch(reply); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString props = m.captured(2);
        const QRegularExpressionMatch l = label.match(props);
        if (!l.hasMatch())
            continue; // the root, separators
        const QRegularExpressionMatch t = toggle.match(props);
        items.append(
            {m.captured(1).toInt(), l.captured(1), t.hasMatch() ? t.captured(1).toInt() : -1});
    }
    return items;
}

namespace {

// Whether a client can connect to `display` now.
bool reachable(const QString& display) {
    xcb_connection_t* c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool ok = !xcb_connection_has_error(c);
    xcb_disconnect(c);
    return ok;
}

} // namespace

bool XServer::start(QString* why) {
    // -displayfd: the server picks a free display and prints its number once it accepts. Other
    // programs on the machine pick display numbers too (xvfb-run -a), so a server that lost
    // its number to one of them is started again. -noreset: the server would otherwise reset
    // when its last client leaves (the check below), refusing connections meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!m_process.start(QStringLiteral("Xvfb"),
                             {QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-screen"), QStringLiteral("0"),
                              QStringLiteral("1280x800x24"), QStringLiteral("-noreset"),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                             QProcessEnvironment::systemEnvironment(), why))
            return false;
        QByteArray out;
        const bool up = waitUntil(
            [&] {
                // Read without an event loop: this runs before a test program's application
                // object exists too.
                m_process.process()->waitForReadyRead(20);
                out += m_process.process()->readAllStandardOutput();
                return out.contains('\n') || !m_process.running();
            },
            15000);
        m_display = u':' + QString::fromLatin1(out.trimmed());
        if (up && m_process.running() && out.contains('\n') && reachable(m_display))
            return true;
        *why = QStringLiteral("Xvfb did not come up: ") + m_process.output();
        m_process.stop();
    }
    return false;
}

QProcessEnvironment XServer::environment(QProcessEnvironment env) const {
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

struct XEmbedTray::Connection {
    xcb_connection_t* x = nullptr;
    xcb_window_t window = XCB_NONE;
    xcb_atom_t opcode = XCB_NONE;
};

namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, qstrlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    free(reply);
    return atom;
}

// Whether a window mapped now is taken in by the window manager (it gets WM_STATE). openbox
// names itself on the root before it handles map requests, and a window mapped in between is
// never managed: so a manager counts as up once a probe window was, a fresh probe each second
// for up to `ms`.
bool managesNewWindows(const QString& display, int ms) {
    xcb_connection_t* c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    bool managed = false;
    if (!xcb_connection_has_error(c)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_atom_t wmState = internAtom(c, "WM_STATE");
        for (int waited = 0; !managed && waited < ms; waited += 1000) {
            const xcb_window_t probe = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
            xcb_map_window(c, probe);
            xcb_flush(c);
            managed = waitUntil(
                [&] {
                    xcb_get_property_reply_t* reply = xcb_get_property_reply(
                        c, xcb_get_property(c, false, probe, wmState, wmState, 0, 2), nullptr);
                    const bool has = reply && xcb_get_property_value_length(reply) > 0;
                    free(reply);
                    return has;
                },
                1000);
            xcb_destroy_window(c, probe);
            xcb_flush(c);
        }
    }
    xcb_disconnect(c);
    return managed;
}

} // namespace

bool XEmbedTray::start(const XServer& x, QString* why) {
    stop();
    xcb_connection_t* c = xcb_connect(x.display().toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        *why = QStringLiteral("cannot reach the X server ") + x.display();
        return false;
    }
    m_c = new Connection{c};
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    m_c->window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_c->window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t selection = internAtom(c, "_NET_SYSTEM_TRAY_S0");
    m_c->opcode = internAtom(c, "_NET_SYSTEM_TRAY_OPCODE");
    xcb_set_selection_owner(c, m_c->window, selection, XCB_CURRENT_TIME);
    // Icons that were waiting for a tray hear of this one from the root window.
    xcb_client_message_event_t manager{};
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = screen->root;
    manager.type = internAtom(c, "MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = m_c->window;
    xcb_send_event(c, false, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    xcb_flush(c);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner == m_c->window;
    free(owner);
    if (!owned) {
        *why = QStringLiteral("another XEmbed tray owns the selection");
        stop();
        return false;
    }
    return true;
}

void XEmbedTray::stop() {
    if (!m_c)
        return;
    xcb_destroy_window(m_c->x, m_c->window);
    xcb_flush(m_c->x);
    xcb_disconnect(m_c->x);
    delete m_c;
    m_c = nullptr;
}

QList<quint32> XEmbedTray::dockRequests() {
    if (!m_c)
        return m_docked;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_c->x)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            constexpr quint32 kRequestDock = 0; // SYSTEM_TRAY_REQUEST_DOCK
            if (message->type == m_c->opcode && message->data.data32[1] == kRequestDock)
                m_docked.append(message->data.data32[2]);
        }
        free(event);
    }
    return m_docked;
}

QString WindowManager::run(const QString& program, const QStringList& args) const {
    QProcess p;
    p.setProcessEnvironment(m_x->environment());
    p.start(program, args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool WindowManager::start(const XServer& x, QString* why) {
    m_x = &x;
    QProcessEnvironment env = x.environment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    if (!m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, env, why))
        return false;
    if (!waitUntil(
            [this] {
                return run(QStringLiteral("wmctrl"), {QStringLiteral("-m")}).contains("Openbox");
            },
            15000)) {
        *why = QStringLiteral("openbox did not come up: ") + m_process.output();
        return false;
    }
    if (!managesNewWindows(m_x->display(), 15000)) {
        *why = QStringLiteral("openbox does not manage windows: ") + m_process.output();
        return false;
    }
    return true;
}

QStringList WindowManager::listedWindows() const {
    return run(QStringLiteral("wmctrl"), {QStringLiteral("-l")}).split(u'\n', Qt::SkipEmptyParts);
}

QString WindowManager::windowId(const QString& title) const {
    for (const QString& line : listedWindows())
        if (line.section(u' ', 0, 0, QString::SectionSkipEmpty).startsWith(QStringLiteral("0x")) &&
            line.endsWith(u' ' + title))
            return line.section(u' ', 0, 0, QString::SectionSkipEmpty);
    return {};
}

QString WindowManager::netWmState(const QString& id) const {
    return run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")});
}

} // namespace kovan::test
