// The plain rules of the web part: command lookup, the bridge's wire format and origin check,
// section addresses and page states, parameters of the page commands, lecture settings.

#include "../core/ScopedTimeZone.h"
#include "core/CommandRegistry.h"
#include "core/Errors.h"
#include "core/NameValueList.h"
#include "web/BridgeProtocol.h"
#include "web/ContentPane.h"
#include "web/SectionRules.h"
#include "web/WebCommands.h"
#include "web/WebEngineSetup.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <ctime>
#include <stdexcept>

using namespace kovan;

// ---- wire format ------------------------------------------------------------------------

TEST(BridgeProtocol, CallsRoundTrip) {
    const QString nul(QChar(0));
    const struct {
        QString name, params;
    } cases[] = {
        {"tipwindow", "{\"title\":\"新信号\"}"},
        {"", "ignored"},
        {"a:b", ":12:"},
        {"x", ""},
        {QStringLiteral("名字😀"), QStringLiteral("𝄞") + nul + QStringLiteral("\u0001\u0002")},
        {"n", QString(10000, QChar(u'好'))},
        {QString(20000, QChar(u'n')), QString(3, QChar(u'p'))}, // a name past the engine's cut
    };
    for (const auto& c : cases) {
        const bridge::PromptText wire = bridge::encodeCall(c.name, c.params);
        // The engine cuts a prompt's message at 10,240 characters: the message stays short.
        EXPECT_LT(wire.message.size(), 64);
        const auto call = bridge::decodeCall(wire.message, wire.defaultValue);
        ASSERT_TRUE(call.has_value()) << c.name.toStdString();
        EXPECT_EQ(call->name, c.name);
        EXPECT_EQ(call->params, c.params);
    }
}

TEST(BridgeProtocol, ForeignPromptsAndBrokenMessagesAreNotCalls) {
    const QString marker = QString::fromUtf16(bridge::kMarker);
    const struct {
        QString message, defaultValue;
    } cases[] = {
        {"hello", "3:abc"},     {QString(), "3:abc"}, {marker + "x", "3:abc"},
        {marker, QString()},    {marker, "x:abc"},    {marker, "5:ab"},
        {marker, "-1:ab"},      {marker, ":ab"},      {"KOVAN-FCB", "3:abc"},
        {marker + "3:abc", ""},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(bridge::decodeCall(c.message, c.defaultValue).has_value())
            << c.message.toStdString() << " / " << c.defaultValue.toStdString();
}

TEST(BridgeProtocol, AnswersCarryTheirKind) {
    EXPECT_EQ(bridge::resultAnswer("1"), "R1");
    EXPECT_EQ(bridge::resultAnswer(""), "R");
    EXPECT_EQ(bridge::errorAnswer("forbidden"), "Eforbidden");
    EXPECT_EQ(bridge::deferredAnswer("tok"), "Dtok");
}

TEST(BridgeProtocol, OnlyThePageServerOriginIsServed) {
    const HostPort server{"Page.Example.cn", 88};
    const struct {
        const char* origin;
        bool allowed;
    } cases[] = {
        {"http://page.example.cn:88/", true},
        {"http://PAGE.example.cn:88", true},
        {"http://page.example.cn:88/tools/signlist/x/", true},
        {"https://page.example.cn:88/", false},
        {"http://page.example.cn/", false},
        {"http://page.example.cn:8888/", false},
        {"http://evil.example.cn:88/", false},
        {"http://page.example.cn.evil.cn:88/", false},
        {"file:///tmp/x.html", false},
        {"null", false},
        {"", false},
        {"data:text/html,hi", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bridge::isPageServerOrigin(QUrl(QString::fromUtf8(c.origin)), server), c.allowed)
            << c.origin;
    EXPECT_TRUE(bridge::isPageServerOrigin(QUrl("http://h/"), HostPort{"h", 80}));
}

TEST(BridgeProtocol, InjectedScriptCarriesTheMarkerAndScheme) {
    const QString s = bridge::injectedScript();
    EXPECT_TRUE(s.contains("\\u0001KOVAN-FCB\\u0002"));
    EXPECT_TRUE(s.contains("'fcb:wait?p='"));
    EXPECT_FALSE(s.contains("%1"));
    EXPECT_TRUE(bridge::hostStyleScript().contains("user-select:none"));
}

// ---- section rules ----------------------------------------------------------------------

TEST(SectionRules, TableInReloadOrder) {
    const auto& t = sections::table();
    ASSERT_EQ(t.size(), 5);
    const char* keys[] = {"sign", "arts", "plan", "mkte", "rpae"};
    const char* views[] = {"sgWeb", "ayWeb", "plWeb", "dtWeb", "rtWeb"};
    const char* paths[] = {"/tools/signlist/", "/tools/artlist/", "/tools/planlist/",
                           "/tools/mktevent/", "/tools/right/"};
    const int tags[] = {1, 0, 0, 0, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(t[i].key, keys[i]);
        EXPECT_STREQ(t[i].viewName, views[i]);
        EXPECT_STREQ(t[i].path, paths[i]);
        EXPECT_EQ(t[i].initialTag, tags[i]);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t[i].content, &contentSections()[std::size_t(i)]);
    EXPECT_EQ(t[4].content, nullptr);
}

TEST(SectionRules, Addresses) {
    const QString root = "http://h:88";
    EXPECT_EQ(sections::startAddress(root, *sections::find(u"sign"), "S1"),
              "http://h:88/tools/signlist/S1/");
    EXPECT_EQ(sections::reloadAddress(root, *sections::find(u"plan"), "S1", 1700000000),
              "http://h:88/tools/planlist/S1/?rand=1700000000");
    EXPECT_EQ(sections::reloadAddress(root, *sections::find(u"rpae"), "S1", 42),
              "http://h:88/tools/right/S1/?42");
    EXPECT_EQ(sections::contentAddress(root, "appadmin/S1"), "http://h:88/tools/appadmin/S1");
    // A session id cannot leave "/tools/" or add a query or fragment.
    EXPECT_EQ(sections::startAddress(root, *sections::find(u"sign"), "../../etc/x"),
              "http://h:88/tools/signlist/..%2F..%2Fetc%2Fx/");
    EXPECT_EQ(sections::reloadAddress(root, *sections::find(u"arts"), "S1?x=1#frag", 7),
              "http://h:88/tools/artlist/S1%3Fx%3D1%23frag/?rand=7");
}

using kovan::test::ScopedTimeZone;

TEST(SectionRules, LocalSecondsCountTheWallClock) {
    // The wall clock of a zone with a fixed offset reads the true time (seconds since 1970
    // UTC, from the C library) plus that offset; the reading rounds to the nearest second.
    const struct {
        const char* zone;
        qint64 offset;
    } cases[] = {{"CST-8", 8 * 3600}, {"EST5", -5 * 3600}, {"UTC0", 0}};
    for (const auto& c : cases) {
        const ScopedTimeZone tz(c.zone);
        const qint64 before = std::time(nullptr);
        const qint64 local = sections::localSecondsNow();
        const qint64 after = std::time(nullptr);
        EXPECT_GE(local, before + c.offset) << c.zone;
        EXPECT_LE(local, after + 1 + c.offset) << c.zone;
    }
}

TEST(SectionRules, RowsForTypes) {
    const struct {
        const char* types;
        QStringList keys;
    } cases[] = {
        {"all", {"sign", "arts", "plan", "mkte", "rpae"}},
        {"sign", {"sign"}},
        {"rpae", {"rpae"}},
        {"mkte", {"mkte"}},
        {"mkts", {}},
        {"ALL", {}},
        {"Sign", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        QStringList got;
        for (const sections::Section* s : sections::rowsFor(QString::fromUtf8(c.types)))
            got.append(QString::fromLatin1(s->key));
        EXPECT_EQ(got, c.keys) << c.types;
    }
}

TEST(SectionRules, MarkerDecidesThePageState) {
    EXPECT_EQ(sections::tagForDocument(u"<html><!-- QZEARVersion 3 --></html>"), 2);
    EXPECT_EQ(sections::tagForDocument(u"<html>qzearversion</html>"), 1);
    EXPECT_EQ(sections::tagForDocument(u"<html>QZEAR Version</html>"), 1);
    EXPECT_EQ(sections::tagForDocument(u""), 1);
}

TEST(SectionRules, TileDocumentAndReloadScripts) {
    EXPECT_EQ(sections::tileDocument("C:/k/resource/grid.png"),
              "<body style=\"background:url(C:/k/resource/grid.png)\"></body>");
    EXPECT_EQ(sections::reloadCheckScript("abc"), "reloadCheck('abc')");
    EXPECT_EQ(sections::reloadCheckScript("a'b"), "reloadCheck('a\\'b')");
    EXPECT_EQ(sections::reloadCheckScript(""), "reloadCheck('')");
    // A backslash no longer ends the string early (doubling quotes alone let it through).
    EXPECT_EQ(sections::reloadCheckScript(R"(\');anything();//)"),
              R"(reloadCheck('\\\');anything();//'))");
    EXPECT_STREQ(sections::kReloadCheckZero, "reloadCheck(0)");
}

// ---- page command parameters ------------------------------------------------------------

TEST(WebCommands, ViewInfoParameters) {
    QStringList opened;
    auto open = [&opened](const QString& t, const QString& u, qint64 s, const QString& d) {
        opened.append(t + u'|' + u + u'|' + QString::number(s) + u'|' + d);
    };
    runViewInfo(R"({"title":"公告","viurl":"signinfo/9","staytitle":"7","destory":"x"})", open);
    runViewInfo(R"({"title":"","viurl":"signinfo/9"})", open);
    runViewInfo(R"({"title":"t"})", open);
    EXPECT_EQ(opened, QStringList{"公告|signinfo/9|7|x"});
    EXPECT_THROW(runViewInfo("{bad", open), ConversionError);
}

TEST(WebCommands, ContentPaneCoversTheMiddleColumn) {
    EXPECT_EQ(ContentPane::paneGeometry(QRect(0, 85, 720, 448)), QRect(2, 85, 718, 448));
    EXPECT_EQ(ContentPane::paneGeometry(QRect(5, 40, 100, 10)), QRect(2, 40, 98, 10));
}

namespace {

TEST(WebEngineFlags, LowMemorySettingsUnlessTheUserSetFlags) {
    const QByteArray ours =
        "--enable-low-end-device-mode --renderer-process-limit=64 --no-unsandboxed-zygote "
        "--js-flags=--expose-gc-as=__kovanCollectGarbage";
    EXPECT_EQ(kovan::chromiumFlags(""), ours);
    EXPECT_EQ(kovan::chromiumFlags("  "), ours);
    // The user's own flags are taken whole: they can turn the low-memory settings off.
    EXPECT_EQ(kovan::chromiumFlags("--js-flags=--lite-mode"), "--js-flags=--lite-mode");
}

TEST(StartupNotes, OnlyTheEnginesAndPlatformsKnownNotesAreHeldBack) {
    const struct {
        QtMsgType type;
        const char* category;
        const char* text;
        bool note;
    } cases[] = {
        {QtInfoMsg, "default", "Sandboxing disabled by user.", true},
        {QtWarningMsg, "default", "No suitable graphics backend found\n", true},
        {QtWarningMsg, "default",
         "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled",
         true},
        // The same words at another level, in another category or as part of another message
        // are something else, and show.
        {QtWarningMsg, "default", "Sandboxing disabled by user.", false},
        {QtCriticalMsg, "default", "No suitable graphics backend found", false},
        {QtWarningMsg, "qt.qpa.gl", "No suitable graphics backend found", false},
        {QtWarningMsg, nullptr, "No suitable graphics backend found", false},
        {QtWarningMsg, "default", "No suitable graphics backend found for Vulkan", false},
        {QtWarningMsg, "default", "QXcbConnection: Could not connect to display", false},
        {QtInfoMsg, "default", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kovan::isStartupNote(c.type, c.category, QString::fromUtf8(c.text)), c.note)
            << c.type << " " << (c.category ? c.category : "(none)") << " " << c.text;
}

TEST(StartupNotes, RulesTurnOffTheContextDumpAndTheNotesOnly) {
    QLoggingCategory dump("qt.webenginecontext", QtInfoMsg);
    QLoggingCategory notes("kovan.startup.notes");
    QLoggingCategory other("qt.webengine.other", QtInfoMsg);
    QLoggingCategory::setFilterRules(kovan::startupLoggingRules());
    const auto restore = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
    EXPECT_FALSE(dump.isInfoEnabled());
    EXPECT_TRUE(dump.isWarningEnabled()); // the engine's warnings still show
    for (QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
        EXPECT_FALSE(notes.isEnabled(type)) << type;
    EXPECT_TRUE(other.isInfoEnabled());
    EXPECT_TRUE(other.isWarningEnabled());
}

TEST(RenderingPath, DecidedBeforeTheApplicationWhereNoOpenGlIsNeededToTell) {
    using kovan::RenderingPath;
    const struct {
        const char* override;
        const char* platform;
        bool gpu;
        RenderingPath path;
    } cases[] = {
        {"", "", false, RenderingPath::Software}, // no GPU device: Mesa would use llvmpipe
        {"", "xcb", false, RenderingPath::Software},
        {"", "", true, RenderingPath::Probe},
        {"", "wayland", true, RenderingPath::Probe},
        {"", "offscreen", true, RenderingPath::Software},
        {"opengl", "", false, RenderingPath::OpenGL},
        {"software", "xcb", true, RenderingPath::Software},
        {"bogus", "xcb", true, RenderingPath::Probe},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kovan::earlyRenderingPath(QString::fromLatin1(c.override),
                                            QString::fromLatin1(c.platform), c.gpu),
                  c.path)
            << c.override << " / " << c.platform << " / " << c.gpu;
}

TEST(RenderingPath, SoftwarePathLeavesOutOpenGlAndSharedMemorySurfaces) {
    using kovan::RenderingPath;
    using Settings = QList<QPair<QByteArray, QByteArray>>;
    EXPECT_EQ(kovan::platformEnvironment(RenderingPath::Software),
              (Settings{{"QT_XCB_GL_INTEGRATION", "none"}, {"QT_XCB_NO_MITSHM", "1"}}));
    // With a GPU, or before the probe has told, the platform keeps its defaults.
    EXPECT_TRUE(kovan::platformEnvironment(RenderingPath::OpenGL).isEmpty());
    EXPECT_TRUE(kovan::platformEnvironment(RenderingPath::Probe).isEmpty());
}

TEST(RenderingPath, PlatformSettingsLeaveTheUsersOwnAlone) {
    const char* const names[] = {"KOVAN_TEST_UNSET", "KOVAN_TEST_USER", "KOVAN_TEST_EMPTY"};
    qunsetenv(names[0]);
    qputenv(names[1], "mine");
    qputenv(names[2], "");
    kovan::applyPlatformEnvironment({{names[0], "ours"}, {names[1], "ours"}, {names[2], "ours"}});
    EXPECT_EQ(qgetenv(names[0]), "ours");
    EXPECT_EQ(qgetenv(names[1]), "mine");
    EXPECT_TRUE(qEnvironmentVariableIsSet(names[2]));
    EXPECT_EQ(qgetenv(names[2]), "");
    for (const char* name : names)
        qunsetenv(name);
}

TEST(RenderingPath, SoftwareWhereOpenGlWouldRunOnTheCpu) {
    using kovan::RenderingPath;
    const struct {
        const char* platform;
        const char* renderer;
        const char* override;
        RenderingPath path;
    } cases[] = {
        {"xcb", "llvmpipe (LLVM 15.0.6, 256 bits)", "", RenderingPath::Software},
        {"xcb", "softpipe", "", RenderingPath::Software},
        {"wayland", "Mesa X11 / Software Rasterizer", "", RenderingPath::Software},
        {"xcb", "", "", RenderingPath::Software}, // no usable OpenGL
        {"offscreen", "", "", RenderingPath::Software},
        {"xcb", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "", RenderingPath::OpenGL},
        {"xcb", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)", "", RenderingPath::OpenGL},
        {"xcb", "NVIDIA GeForce RTX 3060/PCIe/SSE2", "", RenderingPath::OpenGL},
        {"xcb", "llvmpipe (LLVM 15.0.6, 256 bits)", "opengl", RenderingPath::OpenGL},
        {"xcb", "NVIDIA GeForce RTX 3060/PCIe/SSE2", " Software ", RenderingPath::Software},
        {"xcb", "NVIDIA GeForce RTX 3060/PCIe/SSE2", "nonsense", RenderingPath::OpenGL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kovan::chooseRenderingPath(QString::fromLatin1(c.platform),
                                             QString::fromLatin1(c.renderer),
                                             QString::fromLatin1(c.override)),
                  c.path)
            << c.platform << " / " << c.renderer << " / " << c.override;
}

} // namespace
