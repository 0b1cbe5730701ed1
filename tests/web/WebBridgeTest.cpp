// window.external.FCB end to end: pages of an in-process page server call commands of a test
// registry through bridged views.

#include "WebTestSupport.h"

#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "web/BridgePage.h"
#include "web/ContentPane.h"
#include "web/DeferredReplies.h"
#include "web/HostWebView.h"
#include "web/WebCommands.h"
#include "web/WebEngineSetup.h"
#include "windows/WindowCommands.h"

#include <QDialog>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace kovan;
using namespace kovan::webtest;

namespace {

const char* kPlainPage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>t</title>
</head><body><p>QZEARVersion 测试页</p></body></html>)";

// Calls FCB from inside a frame when loaded and reports the outcome to the parent page.
const char* kFrameCaller = R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
<script>
var out;
try { out = 'ok:' + window.external.FCB('record', 'from-frame'); }
catch (e) { out = 'error:' + (e instanceof Error) + ':' + e.message; }
parent.postMessage(out, '*');
</script></body></html>)";

std::string framePage(const QString& frameUrl) {
    return (QStringLiteral(R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
<script>window.frameResult = null;
window.addEventListener('message', function (e) { window.frameResult = e.data; });</script>
<iframe src=")") +
            frameUrl + QStringLiteral(R"("></iframe></body></html>)"))
        .toStdString();
}

class BridgeTest : public ::testing::Test {
protected:
    // One pair of servers for the whole suite: stopping a server waits out the engine's open
    // connections.
    static void SetUpTestSuite() {
        s_server = new PageServer;
        s_foreign = new PageServer;
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_foreign;
    }

    void SetUp() override {
        program().paths.endpoints.pageServer =
            HostPort{QStringLiteral("127.0.0.1"), quint16(m_server.port())};
        m_server.setPage("/page", kPlainPage);
        m_foreign.setPage("/page", kPlainPage);
        m_foreign.setPage("/caller", kFrameCaller);
        m_server.setPage("/caller", kFrameCaller);

        m_registry.add("echo", [this](const QString& p) {
            m_calls.append("echo|" + p);
            return p + QStringLiteral("|𝄞中");
        });
        m_registry.add("record", [this](const QString& p) {
            m_calls.append("record|" + p);
            return QStringLiteral("recorded");
        });
        m_registry.add("playVideo", [this](const QString& p) {
            m_calls.append("playVideo|" + p);
            return QStringLiteral("video:") + p;
        });
        m_registry.add("boom", [this](const QString& p) -> QString {
            m_calls.append("boom|" + p);
            throw std::runtime_error("参数错误: bad");
        });

        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 300);
        m_view = new HostWebView("sgWeb", 1, m_window.get());
        m_view->resize(400, 300);
        m_view->attachScriptHost(m_registry);
        m_window->show();
        ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_server.root() + "/page")));
    }

    void TearDown() override { m_window.reset(); }

    QVariant fcb(const QString& expression) { return runJs(m_view->page(), expression); }

    static inline PageServer* s_server = nullptr;
    static inline PageServer* s_foreign = nullptr;
    PageServer& m_server = *s_server;
    PageServer& m_foreign = *s_foreign;
    CommandRegistry m_registry;
    QStringList m_calls;
    std::unique_ptr<QWidget> m_window;
    HostWebView* m_view = nullptr;
};

const QString kCatch = QStringLiteral(
    "(function(){try{return 'ok:'+%1;}catch(e){return 'error:'+(e instanceof Error)+':'+"
    "e.message;}})()");

} // namespace

TEST_F(BridgeTest, ChineseAndAstralCharactersRoundTripBothWays) {
    const QVariant v = fcb("window.external.FCB('echo', '信号 \\u{1F600} \\u{1D11E} end')");
    EXPECT_EQ(v.toString(), QStringLiteral("信号 😀 𝄞 end|𝄞中"));
    ASSERT_EQ(m_calls.size(), 1);
    EXPECT_EQ(m_calls[0], QStringLiteral("echo|信号 😀 𝄞 end"));
}

TEST_F(BridgeTest, LongParametersArrive) {
    const QVariant v = fcb("window.external.FCB('echo', '好'.repeat(10000)).length");
    EXPECT_EQ(v.toInt(), 10000 + 4); // "|𝄞中": 1 + 2 + 1 UTF-16 units
}

TEST_F(BridgeTest, ParametersNamesAndAnswersPassWholeWellPastTheEnginesPromptCut) {
    // JSON just under and far over the 10,240 characters at which the engine cuts a prompt's
    // message, a long name, and 16 Mi characters both ways: all arrive whole, nothing is cut.
    m_registry.add("size", [](const QString& p) { return QString::number(p.size()); });
    m_registry.add("big", [](const QString& p) { return QString(p.toInt(), QChar(u'x')); });
    for (const int n : {10228, 10241, 100000, 16 * 1024 * 1024}) {
        const QString js = QStringLiteral("window.external.FCB('size', '{\"t\":\"' + "
                                          "'a'.repeat(%1) + '\"}')")
                               .arg(n);
        EXPECT_EQ(fcb(js).toString(), QString::number(n + 8)) << n;
    }
    m_registry.add(QString(12000, QChar(u'n')),
                   [](const QString&) { return QStringLiteral("far"); });
    EXPECT_EQ(fcb("window.external.FCB('n'.repeat(12000), '')").toString(), "far");
    EXPECT_EQ(fcb("window.external.FCB('big', '16777216').length").toInt(), 16 * 1024 * 1024);
}

TEST_F(BridgeTest, ACallPastTheLimitIsRefusedWithAnErrorNamingIt) {
    const QVariant v = fcb(kCatch.arg("window.external.FCB('size', 'a'.repeat(33554433))"));
    EXPECT_EQ(v.toString(), QStringLiteral("error:true:FCB: a call may hold at most 33554432 "
                                           "characters"));
}

TEST_F(BridgeTest, ACommandThatThrowsIsACatchableScriptError) {
    const QVariant v = fcb(kCatch.arg("window.external.FCB('boom', 'x')"));
    EXPECT_EQ(v.toString(), QStringLiteral("error:true:参数错误: bad"));
    EXPECT_EQ(m_calls, QStringList{"boom|x"});
}

TEST_F(BridgeTest, EmptyNameAnswersOneAndCallsNothing) {
    EXPECT_EQ(fcb("window.external.FCB('', 'echo')").toString(), "1");
    EXPECT_EQ(fcb("window.external.FCB()").toString(), "1");
    EXPECT_TRUE(m_calls.isEmpty());
}

TEST_F(BridgeTest, UnknownNameAnswersOne) {
    EXPECT_EQ(fcb("window.external.FCB('nosuchcommand', '{}')").toString(), "1");
    EXPECT_TRUE(m_calls.isEmpty());
}

TEST_F(BridgeTest, NameCaseDoesNotMatter) {
    EXPECT_EQ(fcb("window.external.FCB('PlAyViDeO', 'a.mp4')").toString(), "video:a.mp4");
    EXPECT_EQ(fcb("window.external.FCB('playVideo', 'b.mp4')").toString(), "video:b.mp4");
    EXPECT_EQ(m_calls, (QStringList{"playVideo|a.mp4", "playVideo|b.mp4"}));
}

TEST_F(BridgeTest, APagesOwnPromptShowsNothing) {
    EXPECT_EQ(fcb("String(window.prompt('你好', 'x'))").toString(), "null");
}

TEST_F(BridgeTest, RedefiningPromptDoesNotBreakTheBridge) {
    fcb("window.prompt = function(){ return 'Rhijacked'; }; 0");
    EXPECT_EQ(fcb("window.external.FCB('record', 'p')").toString(), "recorded");
}

TEST_F(BridgeTest, ThisPartsCommandsAnswerAsDocumented) {
    QWidget host;
    QWidget middle;
    ContentPane pane(&host, &middle, program().paths.endpoints);
    WebCommandTargets targets;
    targets.contentPane = &pane;
    registerWebCommands(m_registry, targets);
    registerWindowCommands(m_registry, {});

    EXPECT_EQ(fcb("window.external.FCB('simpletalk', '{}')").toString(), "");
    EXPECT_EQ(fcb("window.external.FCB('livechat', '{}')").toString(), "1");
    EXPECT_EQ(fcb("window.external.FCB('showchatroom', 'x')").toString(), "1");
    EXPECT_EQ(fcb("window.external.FCB('forcetitle', 'abc')").toString(), "1");
    EXPECT_EQ(pane.title(), "abc");
    EXPECT_EQ(fcb(R"(window.external.FCB('ForceTitle', '{"t":"信号 \"详情\"}'))").toString(), "1");
    EXPECT_EQ(pane.title(), QStringLiteral(R"({"t":"信号 "详情"})"));
    // Not JSON: the command fails towards the page.
    EXPECT_EQ(
        fcb(kCatch.arg("window.external.FCB('normalwindow', 'not json')")).toString().left(11),
        "error:true:");
    // No lecture hook: showyyopen shows nothing and answers "1" (through the deferred path).
    EXPECT_EQ(fcb("window.external.FCB('showyyopen', '')").toString(), "1");
}

TEST_F(BridgeTest, AForeignOriginIsRefused) {
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_foreign.root() + "/page")));
    EXPECT_EQ(fcb(kCatch.arg("window.external.FCB('record', 'x')")).toString(),
              "error:true:forbidden");
    EXPECT_EQ(fcb(kCatch.arg("window.external.FCB('', 'x')")).toString(), "error:true:forbidden");
    EXPECT_TRUE(m_calls.isEmpty());
}

TEST_F(BridgeTest, AnotherHostNameOfTheSameMachineIsForeign) {
    const QString url = QStringLiteral("http://localhost:") + QString::number(m_server.port());
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(url + "/page")));
    EXPECT_EQ(fcb(kCatch.arg("window.external.FCB('record', 'x')")).toString(),
              "error:true:forbidden");
    EXPECT_TRUE(m_calls.isEmpty());
}

TEST_F(BridgeTest, AForeignFrameIsRefusedAndAnOwnFrameServed) {
    m_server.setPage("/framed-foreign", framePage(m_foreign.root() + "/caller"));
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_server.root() + "/framed-foreign")));
    QString result;
    ASSERT_TRUE(waitUntil([&] {
        result = fcb("window.frameResult").toString();
        return !result.isEmpty();
    }));
    EXPECT_EQ(result, "error:true:forbidden");
    EXPECT_TRUE(m_calls.isEmpty());

    m_server.setPage("/framed-own", framePage(m_server.root() + "/caller"));
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_server.root() + "/framed-own")));
    ASSERT_TRUE(waitUntil([&] {
        result = fcb("window.frameResult").toString();
        return !result.isEmpty();
    }));
    EXPECT_EQ(result, "ok:recorded");
    EXPECT_EQ(m_calls, QStringList{"record|from-frame"});
}

TEST_F(BridgeTest, AModalCommandLeavesOtherViewsWorking) {
    auto* second = new HostWebView("ayWeb", 0, m_window.get());
    second->attachScriptHost(m_registry);
    ASSERT_TRUE(loadAndWait(second->page(), QUrl(m_server.root() + "/page")));

    QString secondAnswer;
    bool modalRan = false;
    m_registry.add(
        "modal",
        [&](const QString& p) {
            modalRan = true;
            QDialog dialog(m_window.get());
            dialog.setModal(true);
            // While the dialog is up, the second view calls FCB and gets its answer.
            QTimer::singleShot(0, &dialog, [&] {
                second->page()->runJavaScript("window.external.FCB('echo', 'during')",
                                              [&](const QVariant& v) {
                                                  secondAnswer = v.toString();
                                                  dialog.accept();
                                              });
            });
            QTimer::singleShot(15000, &dialog, &QDialog::reject); // a stuck engine fails here
            dialog.exec();
            return QStringLiteral("closed:") + p;
        },
        CommandRegistry::Reply::Deferred);

    const QVariant v = fcb(kCatch.arg("window.external.FCB('MODAL', '中')"));
    EXPECT_TRUE(modalRan);
    EXPECT_EQ(secondAnswer, QStringLiteral("during|𝄞中"));
    EXPECT_EQ(v.toString(), QStringLiteral("ok:closed:中"));
    EXPECT_EQ(deferredReplies().pendingCount(), 0);
}

TEST_F(BridgeTest, ADeferredCommandThatThrowsIsAScriptError) {
    m_registry.add(
        "modalboom", [](const QString&) -> QString { throw std::runtime_error("对话框失败"); },
        CommandRegistry::Reply::Deferred);
    EXPECT_EQ(fcb(kCatch.arg("window.external.FCB('modalboom', '')")).toString(),
              QStringLiteral("error:true:对话框失败"));
}

TEST_F(BridgeTest, ADeferredAnswerCannotBeFetchedByAForeignPage) {
    // A token handed out to a page-server page is useless to a foreign page.
    BridgePage* page = qobject_cast<BridgePage*>(m_view->page());
    ASSERT_NE(page, nullptr);
    m_registry.add(
        "later", [](const QString&) { return QStringLiteral("secret"); },
        CommandRegistry::Reply::Deferred);
    const QString answer = page->answerCall(QUrl(m_server.root()), "later", "");
    ASSERT_TRUE(answer.startsWith(u'D'));
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_foreign.root() + "/page")));
    const QString js =
        QStringLiteral(
            "(function(){var x=new XMLHttpRequest();try{x.open('GET','fcb:wait?p=%1',false);"
            "x.send(null);return 'got:'+x.responseText;}catch(e){return 'failed';}})()")
            .arg(answer.mid(1));
    EXPECT_EQ(fcb(js).toString(), "got:Eforbidden");
    // The rightful page still gets it.
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_server.root() + "/page")));
    EXPECT_EQ(fcb(js).toString(), "got:Rsecret");
}

TEST_F(BridgeTest, HostLookHidesScrollBarsAndSelectionAndFetchesNoIcons) {
    EXPECT_FALSE(m_view->page()->settings()->testAttribute(QWebEngineSettings::ShowScrollBars));
    EXPECT_FALSE(
        m_view->page()->settings()->testAttribute(QWebEngineSettings::AutoLoadIconsForPage));
    EXPECT_EQ(fcb("getComputedStyle(document.body).userSelect").toString(), "none");
}

TEST_F(BridgeTest, APageBeforeItsHostIsAttachedHasNoBridgeAndGetsItOnAttach) {
    auto* view = new HostWebView("ayWeb", 0, m_window.get());
    ASSERT_TRUE(loadAndWait(view->page(), QUrl(m_server.root() + "/page")));
    const QString probe = QStringLiteral("typeof (window.external && window.external.FCB)");
    EXPECT_EQ(runJs(view->page(), probe).toString(), "undefined");
    // A page calling the host's prompt form itself is not served either.
    auto* page = qobject_cast<BridgePage*>(view->page());
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->attached());
    EXPECT_EQ(page->answerCall(QUrl(m_server.root()), "record", "x"), "Eforbidden");

    view->attachScriptHost(m_registry); // the document is loaded again, now with the bridge
    ASSERT_TRUE(waitUntil([&] { return runJs(view->page(), probe).toString() == "function"; }));
    EXPECT_EQ(runJs(view->page(), "window.external.FCB('record', 'late')").toString(), "recorded");
    EXPECT_EQ(m_calls, QStringList{"record|late"});
    EXPECT_EQ(view->page(), page); // the same page throughout
}

TEST_F(BridgeTest, AnEarlyStartedPageHasItsProcessBeforeAnyLoadAndKeepsIt) {
    auto* view = new HostWebView("rtWeb", 1, m_window.get());
    view->startPage();
    ASSERT_TRUE(waitUntil([&] { return view->page()->renderProcessPid() > 0; }));
    const qint64 pid = view->page()->renderProcessPid();
    EXPECT_TRUE(view->url().isEmpty());
    view->attachScriptHost(m_registry);
    view->navigate(QUrl(m_server.root() + "/page"));
    ASSERT_TRUE(waitUntil([&] { return !view->isBusy(); }));
    EXPECT_EQ(view->page()->renderProcessPid(), pid);
    EXPECT_EQ(runJs(view->page(), "window.external.FCB('echo', 'e')").toString(),
              QStringLiteral("e|𝄞中"));
}

TEST_F(BridgeTest, BlankingAViewThatNeverHeldADocumentLoadsNothing) {
    auto* view = new HostWebView("ConWeb", 0, m_window.get());
    int loads = 0;
    QObject::connect(view->page(), &QWebEnginePage::loadStarted, [&] { ++loads; });
    view->navigate(QUrl(QStringLiteral("about:blank")));
    EXPECT_FALSE(view->isBusy());
    // With a document, blanking is a load like any other.
    view->navigate(QUrl(m_server.root() + "/page"));
    ASSERT_TRUE(waitUntil([&] { return !view->isBusy(); }));
    view->navigate(QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(view->isBusy());
    ASSERT_TRUE(waitUntil([&] { return !view->isBusy(); }));
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(view->url().toString(), "about:blank");
}

TEST_F(BridgeTest, AttachingTwiceLeavesTheSecondHostInCharge) {
    CommandRegistry other;
    other.add("record", [](const QString&) { return QStringLiteral("second host"); });
    m_view->attachScriptHost(other);
    ASSERT_TRUE(loadAndWait(m_view->page(), QUrl(m_server.root() + "/page")));
    EXPECT_EQ(fcb("window.external.FCB('record', '')").toString(), "second host");
    EXPECT_TRUE(m_calls.isEmpty());
}

namespace {

TEST_F(BridgeTest, WorkInAPageIsFollowedByOneGarbageCollectionThatFreesItsGarbage) {
    // The engine's collector is there (the program's flags), under the client's name.
    ASSERT_EQ(runJs(m_view->page(), "typeof __kovanCollectGarbage").toString(), "function");
    // An object only a weak reference holds: the page's small heap keeps it until a
    // collection runs.
    ASSERT_EQ(runJs(m_view->page(), "window.held = new WeakRef({rows: new Array(5000).fill('x')});"
                                    "typeof held.deref()")
                  .toString(),
              "object");
    const int before = m_view->collections();
    m_view->setCollectDelayMs(300);
    m_view->runScript("window.a = 1");
    m_view->runScript("window.b = 2");
    EXPECT_EQ(fcb("window.external.FCB('record', 'x')").toString(), "recorded");
    ASSERT_TRUE(waitUntil([&] { return m_view->collections() > before; }, 10000));
    EXPECT_TRUE(waitUntil(
        [&] { return runJs(m_view->page(), "typeof held.deref()").toString() == "undefined"; },
        5000))
        << "the collection left the page's garbage";
    // The page's own state is untouched, and a view without new work is not collected again.
    EXPECT_EQ(runJs(m_view->page(), "a + b").toInt(), 3);
    const int after = m_view->collections();
    EXPECT_EQ(after, before + 1) << "the work above wants one collection, not one per call";
    waitUntil([] { return false; }, 1000); // three delays with nothing to do
    EXPECT_EQ(m_view->collections(), after);
}

} // namespace
