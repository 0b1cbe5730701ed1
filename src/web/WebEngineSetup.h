#pragma once

#include "core/Endpoints.h"

#include <QUrl>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

class QWebEngineProfile;
class QWebEngineSettings;

namespace kovan {

class DeferredReplies;

// A run without KOVAN_TRACE prints nothing unless something is wrong. At start the web engine
// and the platform write notes through Qt's messages that are nothing for the member to act on:
// the engine's context dump (category qt.webenginecontext, info), "Sandboxing disabled by
// user." (run as root with QTWEBENGINE_DISABLE_SANDBOX), "No suitable graphics backend found"
// (the engine's GPU thread where OpenGL is off), and on the software path the X11 platform's
// "Cannot create platform OpenGL context" for the shared context the engine asks for. Chromium
// itself writes none of them: its --log-level leaves every one in place.
// quietStartupNotes(false) turns the dump's category off and sends the other notes to the
// category kovan.startup.notes, turned off too; with `trace` it changes nothing. Qt applies
// QT_LOGGING_RULES after these rules, so a user's own rules win (for instance
// "qt.webenginecontext.info=true;kovan.startup.notes=true" shows them all again). Call it
// before the application object, while the GUI thread is the only thread.
void quietStartupNotes(bool trace);
// The logging rules quietStartupNotes() sets.
QString startupLoggingRules();
// Whether a message of Qt's (its type, category and text) is one of the notes above (the
// context dump aside, which its category's rule covers).
bool isStartupNote(QtMsgType type, const char* category, const QString& message);

// Must run before the QApplication exists: registers the bridge's "fcb" scheme, shares OpenGL
// contexts as the engine requires, and takes the rendering path when it can be told without
// OpenGL (then, on X11, OpenGL is not even loaded: about 35 MB less).
// It also gives the engine its command-line flags (see chromiumFlags).
void prepareWebEngine();

// The web engine's flags: those the user set in QTWEBENGINE_CHROMIUM_FLAGS, taken as they
// are, or else the engine's low-memory settings. The client stays open all day beside other
// programs, and those settings (smaller caches, leaner script heaps) keep memory off its page
// processes while the pages draw the same pixels; every view keeps a page process of its own.
// Ours also name the script engine's garbage collector kGarbageCollectorName in every page.
QByteArray chromiumFlags(const QByteArray& userFlags);
inline constexpr char kGarbageCollectorName[] = "__kovanCollectGarbage";

// How the web views (and the windows holding them) are composed on screen.
enum class RenderingPath {
    OpenGL,   // the scene graph on the GPU
    Software, // Qt Quick's software scene graph: the window stays a plain raster surface
    Probe,    // not known before OpenGL has been asked (only from earlyRenderingPath)
};

// The path for this machine. Software wherever OpenGL would only run on the CPU anyway (no
// GPU device, llvmpipe, softpipe and other software rasterisers, the offscreen platform), since
// there every repaint of any widget would recompose the whole window through it; OpenGL on a
// real GPU. KOVAN_RENDERING=software|opengl overrides the choice.
//
// Before the application object exists (`platform` from QT_QPA_PLATFORM, may be empty): an
// override, the offscreen platforms and a machine without GPU device nodes decide at once;
// anything else needs the probe.
RenderingPath earlyRenderingPath(const QString& override, const QString& platform,
                                 bool gpuDevicePresent);
// The platform settings that go with a path taken before the application exists, as
// variable/value pairs; each one applies only where the user has not set that variable.
// On the software path the X11 platform loads no OpenGL, and window surfaces reach the X server
// as plain images rather than through shared memory. With shared memory every flush is
// followed by the server's completion event, which wakes the platform's event reader and then
// the GUI thread; at an idle client's pace (ticker rows, the animated picture, the clock: some
// twenty small flushes a second) those wake-ups cost more than sending a 25-pixel band through
// the socket: half the idle CPU, client and X server alike. Large repaints in quick succession
// (a cross-hair swept over a chart) cost a little more that way.
QList<QPair<QByteArray, QByteArray>> platformEnvironment(RenderingPath path);
// Sets each of `settings` in the process environment unless the variable is set already, even
// to an empty value: Qt takes a set QT_XCB_NO_MITSHM as "no shared memory" whatever its value,
// so the user's own setting is the one that counts.
void applyPlatformEnvironment(const QList<QPair<QByteArray, QByteArray>>& settings);
// After the probe: `glRenderer` is the GL_RENDERER text of a probe context (empty when none
// could be made).
RenderingPath chooseRenderingPath(const QString& platform, const QString& glRenderer,
                                  const QString& override);

// Run after the application object exists and before the first web view: probes OpenGL when
// prepareWebEngine() could not decide, and sets Qt Quick's graphics API. Returns the path.
RenderingPath applyRenderingPath();

// The one profile every web view of the client uses (cookies and cache shared between the
// section pages, the content pane, chart windows and the plain web window). Created on first
// use with the bridge's scheme handler installed. GUI thread only; lives until the
// application ends, so delete views and pages before that.
QWebEngineProfile* sharedProfile();

// The handler of deferred bridge answers, installed on sharedProfile().
DeferredReplies& deferredReplies();

// The page server whose pages the bridge serves, in every view of the process (they share one
// profile): the program entry gives it while it wires the client, and it is read at each call,
// so a changed endpoint applies at once. `pageServer` outlives every view. Until it is given,
// no origin is served. GUI thread only.
void serveBridgeFor(const HostPort& pageServer);
// Whether a page of `origin` may call the client through the bridge.
bool bridgeOriginAllowed(const QUrl& origin);

// The host look of bridged views: no scroll bars, no page icons fetched; the engine's own
// context menu and keys stay.
void applyHostSettings(QWebEngineSettings* settings);

} // namespace kovan
