#include "shell/DesktopActivation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace kovan {

namespace {

xcb_connection_t* x11Connection() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

xcb_window_t rootOf(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// A message of the start-up notification protocol: 20 bytes a client message, the first with
// _NET_STARTUP_INFO_BEGIN, the text zero-terminated.
void sendStartupMessage(xcb_connection_t* c, xcb_window_t from, const QByteArray& text) {
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(c, "_NET_STARTUP_INFO");
    const QByteArray bytes = text + '\0';
    for (qsizetype at = 0; at < bytes.size(); at += 20) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 8;
        ev.window = from;
        ev.type = at == 0 ? begin : more;
        std::memcpy(ev.data.data8, bytes.constData() + at,
                    size_t(qMin<qsizetype>(20, bytes.size() - at)));
        xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&ev));
    }
}

} // namespace

quint32 DesktopActivation::timestampOf(const QByteArray& startupId) {
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0)
        return 0;
    bool ok = false;
    const qulonglong time = startupId.mid(at + 5).toULongLong(&ok);
    return ok && time <= 0xffffffffULL ? quint32(time) : 0;
}

void DesktopActivation::prepare(QWidget* window, const QByteArray& startupId) {
    xcb_connection_t* c = x11Connection();
    if (!c || startupId.isEmpty() || !window)
        return;
    const xcb_window_t w = xcb_window_t(window->winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_STARTUP_ID"),
                        atom(c, "UTF8_STRING"), 8, uint32_t(startupId.size()),
                        startupId.constData());
    if (const quint32 time = timestampOf(startupId)) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_USER_TIME"),
                            XCB_ATOM_CARDINAL, 32, 1, &time);
    }
    xcb_flush(c);
}

namespace {

void setUserTime(xcb_connection_t* c, xcb_window_t w, quint32 time) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_USER_TIME"),
                        XCB_ATOM_CARDINAL, 32, 1, &time);
}

// Once, after the window's first expose has been handled (Qt's deferred activation included).
class UserTimeOnExpose : public QObject {
public:
    UserTimeOnExpose(QWindow* window, quint32 time) : QObject(window), m_time(time) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            QPointer<QWindow> guard(window);
            const quint32 time = m_time;
            QTimer::singleShot(0, window, [guard, time] {
                xcb_connection_t* c = x11Connection();
                if (guard && c) {
                    setUserTime(c, xcb_window_t(guard->winId()), time);
                    xcb_flush(c);
                }
            });
            deleteLater();
        }
        return false;
    }

private:
    quint32 m_time;
};

void restoreUserTimeOnExpose(QWindow* window, quint32 time) {
    new UserTimeOnExpose(window, time); // owned by the window, gone after its first expose
}

} // namespace

void DesktopActivation::finish(QWidget* window, const QByteArray& startupId) {
    xcb_connection_t* c = x11Connection();
    if (!c || startupId.isEmpty() || !window)
        return;
    const xcb_window_t w = xcb_window_t(window->winId());
    if (const quint32 time = timestampOf(startupId)) {
        // Showing the window set its user time to the last event this client saw, older than
        // the click: the click's time again, then the activation request with it.
        setUserTime(c, w, time);
        // A window not on screen yet is activated by Qt at its first expose, which writes the
        // last event's time over it once more: the click's time goes back after that.
        if (QWindow* handle = window->windowHandle(); handle && !handle->isExposed())
            restoreUserTimeOnExpose(handle, time);
        // _NET_ACTIVE_WINDOW from an application (source 1) with the click's time.
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = w;
        ev.type = atom(c, "_NET_ACTIVE_WINDOW");
        ev.data.data32[0] = 1;
        ev.data.data32[1] = time;
        xcb_send_event(c, 0, rootOf(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&ev));
    }
    sendStartupMessage(c, w, "remove: ID=" + startupId); // ids travel without spaces
    xcb_flush(c);
}

} // namespace kovan
