#include "web/WebEngineSetup.h"

#include "web/BridgeProtocol.h"
#include "web/DeferredReplies.h"

#include "core/Trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace kovan {

namespace {

// Taken by prepareWebEngine(), completed by applyRenderingPath().
RenderingPath g_renderingPath = RenderingPath::Probe;

bool gpuDevicePresent() {
    // DRM nodes (Mesa drivers) and the proprietary NVIDIA driver's nodes.
    return !QDir(QStringLiteral("/dev/dri")).isEmpty(QDir::System) ||
           QFile::exists(QStringLiteral("/dev/nvidia0"));
}

} // namespace

namespace {

Q_LOGGING_CATEGORY(lcStartupNotes, "kovan.startup.notes")

// Qt's handler before ours; set once by quietStartupNotes() before any other thread exists.
QtMessageHandler g_qtHandler = nullptr;

// Called by Qt on whichever thread writes a message, after the category rules passed it.
void holdBackStartupNotes(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (isStartupNote(type, context.category, message) && !lcStartupNotes().isEnabled(type))
        return;
    g_qtHandler(type, context, message);
}

} // namespace

QString startupLoggingRules() {
    return QStringLiteral("qt.webenginecontext.info=false\nkovan.startup.notes=false");
}

bool isStartupNote(QtMsgType type, const char* category, const QString& message) {
    static const struct {
        QtMsgType type;
        const char* text;
    } kNotes[] = {
        {QtInfoMsg, "Sandboxing disabled by user."},
        {QtWarningMsg, "No suitable graphics backend found"},
        {QtWarningMsg, "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor "
                       "EGL are enabled"},
    };
    if (!category || qstrcmp(category, "default") != 0)
        return false;
    const QString text = message.trimmed();
    for (const auto& note : kNotes) {
        if (note.type == type && text == QLatin1StringView(note.text))
            return true;
    }
    return false;
}

void quietStartupNotes(bool trace) {
    if (trace)
        return;
    QLoggingCategory::setFilterRules(startupLoggingRules());
    g_qtHandler = qInstallMessageHandler(&holdBackStartupNotes);
}

void prepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    DeferredReplies::registerScheme();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
    g_renderingPath =
        earlyRenderingPath(qEnvironmentVariable("KOVAN_RENDERING"),
                           qEnvironmentVariable("QT_QPA_PLATFORM"), gpuDevicePresent());
    applyPlatformEnvironment(platformEnvironment(g_renderingPath));
}

void applyPlatformEnvironment(const QList<QPair<QByteArray, QByteArray>>& settings) {
    for (const auto& [name, value] : settings) {
        if (!qEnvironmentVariableIsSet(name.constData()))
            qputenv(name.constData(), value);
    }
}

QList<QPair<QByteArray, QByteArray>> platformEnvironment(RenderingPath path) {
    if (path != RenderingPath::Software)
        return {};
    return {{QByteArrayLiteral("QT_XCB_GL_INTEGRATION"), QByteArrayLiteral("none")},
            {QByteArrayLiteral("QT_XCB_NO_MITSHM"), QByteArrayLiteral("1")}};
}

QByteArray chromiumFlags(const QByteArray& userFlags) {
    if (!userFlags.trimmed().isEmpty())
        return userFlags;
    // Low-end mode would also let pages of one site share a page process. A page that waits
    // in a modal command blocks its process, and a window the command opens (the terms, a
    // lecture, a chart's panel) must not land there: one process per view stays.
    // The engine's second zygote serves helper processes that run without a sandbox; the
    // client has none of its own (network and drawing run inside the client), so it would
    // only cost a process start at launch and its memory all day. Such a helper, should the
    // engine want one, is started directly instead.
    // The page processes get a garbage collector the client can call (HostWebView::
    // collectGarbageSoon): a page that re-renders its lists all day leaves detached nodes
    // behind that the engine would otherwise collect only rarely.
    return QByteArrayLiteral(
               "--enable-low-end-device-mode --renderer-process-limit=64 --no-unsandboxed-zygote "
               "--js-flags=--expose-gc-as=") +
           QByteArray(kGarbageCollectorName);
}

namespace {

RenderingPath overridden(const QString& override) {
    const QString wanted = override.trimmed().toLower();
    if (wanted == u"software")
        return RenderingPath::Software;
    if (wanted == u"opengl" || wanted == u"gl")
        return RenderingPath::OpenGL;
    return RenderingPath::Probe;
}

bool offscreenPlatform(const QString& platform) {
    return platform == u"offscreen" || platform == u"minimal";
}

} // namespace

RenderingPath earlyRenderingPath(const QString& override, const QString& platform,
                                 bool gpuDevicePresent) {
    const RenderingPath wanted = overridden(override);
    if (wanted != RenderingPath::Probe)
        return wanted;
    if (offscreenPlatform(platform) || !gpuDevicePresent)
        return RenderingPath::Software;
    return RenderingPath::Probe;
}

RenderingPath chooseRenderingPath(const QString& platformName, const QString& glRenderer,
                                  const QString& override) {
    const RenderingPath wanted = overridden(override);
    if (wanted != RenderingPath::Probe)
        return wanted;
    if (offscreenPlatform(platformName) || glRenderer.isEmpty())
        return RenderingPath::Software;
    static const char* const kSoftwareRasterisers[] = {"llvmpipe", "softpipe", "swrast",
                                                       "software rasterizer", "swr"};
    const QString renderer = glRenderer.toLower();
    for (const char* name : kSoftwareRasterisers) {
        if (renderer.contains(QLatin1StringView(name)))
            return RenderingPath::Software;
    }
    return RenderingPath::OpenGL;
}

namespace {

// GL_RENDERER of a throw-away context; empty when OpenGL is not usable.
QString probeGlRenderer() {
    QOpenGLContext context;
    if (!context.create())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return {};
    const auto* text = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = text ? QString::fromLatin1(text) : QString();
    context.doneCurrent();
    return renderer;
}

} // namespace

RenderingPath applyRenderingPath() {
    QString renderer;
    RenderingPath path = g_renderingPath;
    if (path == RenderingPath::Probe) {
        const QString platform = QGuiApplication::platformName();
        if (!offscreenPlatform(platform))
            renderer = probeGlRenderer();
        path = chooseRenderingPath(platform, renderer, qEnvironmentVariable("KOVAN_RENDERING"));
        g_renderingPath = path;
    }
    if (path == RenderingPath::Software)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    trace(
        QStringLiteral("rendering: ") +
        (path == RenderingPath::Software ? QStringLiteral("software") : QStringLiteral("opengl")) +
        (renderer.isEmpty() ? QString() : QStringLiteral(" (") + renderer + u')'));
    return path;
}

namespace {
DeferredReplies* g_deferred = nullptr; // owned by the profile
const HostPort* g_bridgePageServer = nullptr;
} // namespace

void serveBridgeFor(const HostPort& pageServer) {
    g_bridgePageServer = &pageServer;
}

bool bridgeOriginAllowed(const QUrl& origin) {
    return g_bridgePageServer && bridge::isPageServerOrigin(origin, *g_bridgePageServer);
}

QWebEngineProfile* sharedProfile() {
    static QWebEngineProfile* profile = [] {
        QWebEngineProfile* p = QWebEngineProfile::defaultProfile();
        auto* handler = new DeferredReplies(p);
        g_deferred = handler;
        handler->originAllowed = &bridgeOriginAllowed;
        p->installUrlSchemeHandler(QByteArray(bridge::kScheme), handler);
        return p;
    }();
    return profile;
}

DeferredReplies& deferredReplies() {
    sharedProfile();
    return *g_deferred;
}

void applyHostSettings(QWebEngineSettings* settings) {
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    // No view shows a page icon; fetching favicon.ico after every load is wasted work.
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
}

} // namespace kovan
