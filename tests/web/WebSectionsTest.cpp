// Section pages, their reload rules, the content pane and the plain web and lecture windows,
// against an in-process page server.

#include "WebTestSupport.h"

#include "core/CommandRegistry.h"
#include "core/ProgramState.h"
#include "web/ContentPane.h"
#include "web/HostWebView.h"
#include "web/PaneButton.h"
#include "web/SectionPages.h"
#include "web/SectionRules.h"
#include "web/WebCommands.h"
#include "windows/LectureConfig.h"
#include "windows/TcsnmForm.h"
#include "windows/TftForm.h"
#include "windows/WindowCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

using namespace kovan;
using namespace kovan::webtest;

namespace {

const QString kSessid = QStringLiteral("S1");

std::string sectionPage(const char* key, bool withMarker) {
    return std::string(R"(<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>)") +
           (withMarker ? "<!-- QZEARVersion 2.1 -->" : "") + "<h1>" + key +
           R"(</h1><script>function reloadCheck(x){ window.external.FCB('rc', ')" + key +
           R"(|' + x); }</script></body></html>)";
}

std::string sectionPath(const char* key) {
    const sections::Section* s = sections::find(QString::fromLatin1(key));
    return (QString::fromLatin1(s->path) + kSessid + u'/').toStdString();
}

const char* kKeys[] = {"sign", "arts", "plan", "mkte", "rpae"};

class SectionsTest : public ::testing::Test {
protected:
    // One server for the whole suite: stopping a server waits out the engine's open
    // connections.
    static void SetUpTestSuite() { s_server = new PageServer; }
    static void TearDownTestSuite() { delete s_server; }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ProgramState& p = program();
        p.paths.programDir = m_dir.path() + u'/';
        p.session.setSessid(kSessid);
        p.paths.endpoints.pageServer =
            HostPort{QStringLiteral("127.0.0.1"), quint16(m_server.port())};
        p.sync.with([](SyncTables& t) { t.syncState = SyncTables::initialSyncState(); });
        p.settings.clear();
        for (const char* key : kKeys)
            m_server.setPage(sectionPath(key), sectionPage(key, true));
        m_server.setPage("/tools/appadmin/S1", sectionPage("appadmin", true));
        m_server.setPage("/plain", "<html><body>plain page</body></html>");

        m_registry.add("rc", [this](const QString& p) {
            m_reloadChecks.append(p);
            return QStringLiteral("1");
        });

        m_window = std::make_unique<QWidget>();
        m_window->resize(900, 500);
        m_middle = new QWidget(m_window.get());
        m_middle->setGeometry(0, 40, 700, 460);
        m_right = new QWidget(m_window.get());
        m_right->setGeometry(700, 40, 200, 460);
        m_conHost = new QWidget(m_window.get());
        m_conHost->hide();
        m_pages = new SectionPages(program().session, program().paths, m_window.get());
        m_pages->placeInContainers(m_middle, m_right);
        m_pane = new ContentPane(m_conHost, m_middle, program().paths.endpoints);
        m_webForm = std::make_unique<TcsnmForm>();
        m_lectureForm = std::make_unique<TftForm>();
        m_lectureForm->shownormalwindow = [this](const QString& t, const QString& u) {
            m_webForm->shownormalwindow(t, u);
        };

        WebCommandTargets targets;
        targets.contentPane = m_pane;
        targets.sectionPages = m_pages;
        registerWebCommands(m_registry, targets);
        registerWindowCommands(
            m_registry,
            {.shownormalwindow = [this](const QString& t,
                                        const QString& u) { m_webForm->shownormalwindow(t, u); },
             .showLecture =
                 [this] {
                     return m_lectureForm->showLecture(LectureConfig::fromSettings(
                         program().settings, program().paths.endpoints.pageServer.root()));
                 }});

        for (const char* key : kKeys) {
            HostWebView* v = m_pages->view(QString::fromLatin1(key));
            QObject::connect(v, &QWebEngineView::loadStarted, [this, key] { ++m_loads[key]; });
        }
        QObject::connect(m_pages, &SectionPages::pageChecked,
                         [this](const QString& key, int tag) { m_checked[key] = tag; });
        m_window->show();
        m_pages->attachScriptHosts(m_registry);
        m_pane->attachScriptHost(m_registry);
    }

    void TearDown() override {
        m_webForm.reset();
        m_lectureForm.reset();
        m_window.reset();
    }

    bool allChecked() const { return m_checked.size() == 5; }
    // Runs `act` from the event loop once the lecture pop-up shows (inside its modal loop).
    // A timer that looks every 10 ms, not a wait of its own: a wait started before the modal
    // loop would sit below it and never see the window close.
    void whenLectureShows(std::function<void()> act) {
        auto* poll = new QTimer(m_window.get());
        QObject::connect(poll, &QTimer::timeout, [this, poll, act = std::move(act)] {
            if (!m_lectureForm->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            act();
        });
        poll->start(10);
    }

    void startAndWait() {
        m_pages->navigateSections();
        ASSERT_TRUE(waitUntil([this] { return allChecked(); }));
        m_loads.clear();
    }

    HostWebView* view(const char* key) const { return m_pages->view(QString::fromLatin1(key)); }

    // Marks the current document of every view; a view that navigated loses the mark.
    void stampDocuments() {
        for (const char* key : kKeys)
            runJs(view(key)->page(), "window.__stamp = 'kept'; 0");
    }
    bool documentKept(const char* key) const {
        return runJs(view(key)->page(), "String(window.__stamp)").toString() == "kept";
    }

    QTemporaryDir m_dir;
    static inline PageServer* s_server = nullptr;
    PageServer& m_server = *s_server;
    CommandRegistry m_registry;
    QStringList m_reloadChecks;
    std::map<std::string, int> m_loads;
    QHash<QString, int> m_checked;
    std::unique_ptr<QWidget> m_window;
    QWidget* m_middle = nullptr;
    QWidget* m_right = nullptr;
    QWidget* m_conHost = nullptr;
    SectionPages* m_pages = nullptr;
    ContentPane* m_pane = nullptr;
    std::unique_ptr<TcsnmForm> m_webForm;
    std::unique_ptr<TftForm> m_lectureForm;
};

} // namespace

TEST_F(SectionsTest, ViewsStartWithTheirDesignTagsAndLoadTheStartAddresses) {
    EXPECT_EQ(view("sign")->Tag, 1);
    EXPECT_EQ(view("arts")->Tag, 0);
    EXPECT_EQ(view("rpae")->Tag, 1);
    EXPECT_EQ(m_pages->viewNamed(u"dtWeb"), view("mkte"));
    startAndWait();
    for (const char* key : kKeys) {
        EXPECT_EQ(view(key)->Tag, 2) << key;
        EXPECT_EQ(view(key)->url().toString(),
                  m_server.root() + QString::fromStdString(sectionPath(key)))
            << key;
    }
    EXPECT_TRUE(QFile::exists(m_pages->tilePath()));
}

TEST_F(SectionsTest, HiddenSectionsWaitForEverySectionOnScreenOrForTheDelay) {
    const char* const hidden[] = {"arts", "plan", "mkte"};
    for (const bool delayRunsOut : {false, true}) {
        SCOPED_TRACE(delayRunsOut ? "delay runs out" : "both checked");
        m_checked.clear();
        m_loads.clear();
        m_pages->setHiddenSectionsDelayMs(delayRunsOut ? 300 : 60000);
        m_server.holdPage(sectionPath("rpae")); // the right column is slow to come
        m_pages->navigateSections();
        // Start-up's other network work waits for the same moment.
        int settled = 0;
        m_pages->whenShownSectionsSettled([&] { ++settled; });
        if (delayRunsOut) {
            ASSERT_TRUE(waitUntil([this] { return m_checked.size() == 4; }));
            EXPECT_FALSE(m_checked.contains("rpae"));
            EXPECT_EQ(settled, 1);
        } else {
            ASSERT_TRUE(waitUntil([this] { return m_checked.contains("sign"); }));
            // Loads the signal page's check would have started are under way by now.
            runJs(view("sign")->page(), "0");
            QElapsedTimer waited;
            waited.start();
            waitUntil([&] { return waited.elapsed() > 300; });
            for (const char* key : hidden)
                EXPECT_EQ(m_loads[key], 0) << key;
            EXPECT_EQ(settled, 0);
        }
        m_server.releasePage(sectionPath("rpae"));
        ASSERT_TRUE(waitUntil([this] { return allChecked(); }));
        for (const char* key : hidden)
            EXPECT_EQ(m_loads[key], 1) << key;
        EXPECT_EQ(settled, 1);
        m_pages->whenShownSectionsSettled([&] { ++settled; }); // the moment has passed
        EXPECT_EQ(settled, 2);
    }
}

TEST_F(SectionsTest, WaitingForTheFirstRequestsEndsWhenTheyAreOutNotWhenTheLoadsFinish) {
    const std::string shown[] = {sectionPath("sign"), sectionPath("rpae")};
    const int before[] = {m_server.requestCount(shown[0]), m_server.requestCount(shown[1])};
    for (const std::string& path : shown)
        m_server.holdPage(path); // neither load can finish during the wait
    m_pages->navigateSections();
    QElapsedTimer waited;
    waited.start();
    m_pages->waitForFirstRequests(60000);
    EXPECT_LT(waited.elapsed(), 30000); // ended by the requests, not by the limit
    EXPECT_TRUE(view("sign")->isBusy());
    EXPECT_TRUE(view("rpae")->isBusy());
    EXPECT_TRUE(waitUntil([&] {
        return m_server.requestCount(shown[0]) == before[0] + 1 &&
               m_server.requestCount(shown[1]) == before[1] + 1;
    }));
    for (const std::string& path : shown)
        m_server.releasePage(path);
    ASSERT_TRUE(waitUntil([this] { return allChecked(); }));

    // Nothing loading: nothing to wait for.
    waited.restart();
    m_pages->waitForFirstRequests(60000);
    EXPECT_LT(waited.elapsed(), 30000);
}

TEST_F(SectionsTest, ForceReloadAllRunsReloadCheckFiveTimesAndNavigatesNowhere) {
    startAndWait();
    stampDocuments();
    m_pages->forceReload("all");
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.size() >= 5; }));
    for (const char* key : kKeys)
        EXPECT_TRUE(documentKept(key)) << key;
    QStringList sorted = m_reloadChecks;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"arts|0", "mkte|0", "plan|0", "rpae|0", "sign|0"}));
    EXPECT_TRUE(m_loads.empty());
}

TEST_F(SectionsTest, ForceReloadRightAfterStartWaitsForTheLoads) {
    m_pages->navigateSections();
    m_pages->forceReload("all"); // every view is busy: returns at once, reloads wait
    EXPECT_EQ(m_pages->pendingReloads(), 5);
    EXPECT_TRUE(m_reloadChecks.isEmpty());
    // Each view runs its reloadCheck once its first page has been checked, without a
    // second load.
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.size() >= 5; }));
    EXPECT_TRUE(allChecked());
    EXPECT_EQ(m_pages->pendingReloads(), 0);
    for (const char* key : kKeys)
        EXPECT_EQ(m_loads[key], 1) << key;
}

TEST_F(SectionsTest, ForceReloadOfAViewThatNeverFinishesLoadingGivesUpWaiting) {
    startAndWait();
    m_pages->setReloadWaitMs(300);
    m_server.holdPage("/hang");
    view("plan")->navigate(QUrl(m_server.root() + "/hang"));
    m_pages->forceReload("all");
    // The four free views run reloadCheck at once; plan waits, then is loaded afresh.
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.size() >= 4; }));
    EXPECT_EQ(m_pages->pendingReloads(), 1);
    ASSERT_TRUE(waitUntil([this] { return m_pages->pendingReloads() == 0; }, 5000));
    // Loaded afresh (not a reloadCheck in the page it was leaving), which ends the hung load.
    ASSERT_TRUE(waitUntil([this] { return view("plan")->url().query().startsWith("rand="); }));
    EXPECT_EQ(view("plan")->url().path(), "/tools/planlist/S1/");
    EXPECT_EQ(m_reloadChecks.count("plan|0"), 0);
    m_server.releasePage("/hang");
}

TEST_F(SectionsTest, APageWithoutTheMarkerBecomesTheTileAndNeverGetsReloadCheck) {
    m_server.setPage(sectionPath("plan"), sectionPage("plan", false));
    startAndWait();
    EXPECT_EQ(view("plan")->Tag, 1);
    EXPECT_EQ(m_checked["plan"], 1);
    const QString body =
        runJs(view("plan")->page(), "document.documentElement.outerHTML").toString();
    EXPECT_TRUE(body.contains("background:url(data:image/png;base64,")) << body.toStdString();
    EXPECT_FALSE(body.contains("<h1>"));

    // Its stamp moves: no reloadCheck for a tile.
    m_pages->checkRefresh({ContentSection::Plans});
    m_checked.remove("plan");
    m_pages->forceReload("plan"); // navigates afresh instead
    ASSERT_TRUE(waitUntil([this] { return m_checked.contains("plan"); }));
    EXPECT_EQ(m_loads["plan"], 1);
    const QUrl url = view("plan")->url();
    EXPECT_EQ(url.path(), "/tools/planlist/S1/");
    EXPECT_TRUE(url.query().startsWith("rand=")) << url.toString().toStdString();
    for (const char* key : kKeys)
        runJs(view(key)->page(), "0"); // any script already queued has run by now
    EXPECT_TRUE(m_reloadChecks.isEmpty()) << m_reloadChecks.join(',').toStdString();
    EXPECT_EQ(view("plan")->Tag, 1);
}

TEST_F(SectionsTest, ForceReloadOfTheRightColumnOnATileUsesSecondsOnly) {
    m_server.removePage(sectionPath("rpae")); // 404: not an application page
    startAndWait();
    ASSERT_EQ(view("rpae")->Tag, 1);
    const qint64 before = sections::localSecondsNow();
    m_checked.remove("rpae");
    m_pages->forceReload("rpae");
    ASSERT_TRUE(waitUntil([this] { return m_checked.contains("rpae"); }));
    const qint64 after = sections::localSecondsNow();
    const QUrl url = view("rpae")->url();
    EXPECT_EQ(url.path(), "/tools/right/S1/");
    bool ok = false;
    const qint64 seconds = url.query().toLongLong(&ok);
    EXPECT_TRUE(ok) << url.toString().toStdString();
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
    EXPECT_TRUE(m_reloadChecks.isEmpty());
}

TEST_F(SectionsTest, AnUnreachableServerEndsAsTheTile) {
    startAndWait();
    m_checked.remove("arts");
    view("arts")->load(QUrl("http://127.0.0.1:1/tools/artlist/S1/"));
    ASSERT_TRUE(waitUntil([this] { return m_checked.contains("arts"); }));
    EXPECT_EQ(view("arts")->Tag, 1);
}

TEST_F(SectionsTest, AnUnknownKeyDoesNothing) {
    startAndWait();
    stampDocuments();
    for (const char* types : {"mkts", "xyz", "", "ALL", "Sign"})
        m_pages->forceReload(QString::fromLatin1(types));
    for (const char* key : kKeys)
        EXPECT_TRUE(documentKept(key)) << key;
    EXPECT_TRUE(m_reloadChecks.isEmpty());
    EXPECT_TRUE(m_loads.empty());
}

TEST_F(SectionsTest, GridPngDeletedWhileRunningIsWrittenAtTheNextCompletedPage) {
    startAndWait();
    ASSERT_TRUE(QFile::remove(m_pages->tilePath()));
    m_checked.remove("mkte");
    view("mkte")->reload();
    ASSERT_TRUE(waitUntil([this] { return m_checked.contains("mkte"); }));
    EXPECT_TRUE(QFile::exists(m_pages->tilePath()));
    QImage tile(m_pages->tilePath());
    EXPECT_EQ(tile.size(), QSize(14, 14));
}

TEST_F(SectionsTest, CheckRefreshRunsReloadCheckWithTheSessionInMovedSectionsOnly) {
    startAndWait();
    m_pages->checkRefresh({ContentSection::Signals, ContentSection::Events});
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.size() >= 2; }));
    for (const char* key : kKeys)
        runJs(view(key)->page(), "0");
    QStringList sorted = m_reloadChecks;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"mkte|S1", "sign|S1"}));
}

TEST_F(SectionsTest, ShowoptPageOpensThePageServerPathInTheContentPane) {
    m_pane->showoptPage(QStringLiteral("会员中心"), "appadmin/" + kSessid, 1, "x");
    EXPECT_TRUE(m_pane->paneVisible());
    EXPECT_TRUE(m_pane->Timer5()->isActive());
    EXPECT_TRUE(m_pane->ConLDPae()->isVisible());
    EXPECT_EQ(m_pane->title(), QStringLiteral("会员中心"));
    EXPECT_EQ(m_pane->contentUrl(), m_server.root() + "/tools/appadmin/S1");
    EXPECT_EQ(m_conHost->geometry(), QRect(2, 40, 698, 460));
    ASSERT_TRUE(waitUntil([this] { return !m_pane->Timer5()->isActive(); }));
    EXPECT_FALSE(m_pane->ConLDPae()->isVisible());
    EXPECT_EQ(m_pane->ConWeb()->url().toString(), m_server.root() + "/tools/appadmin/S1");
    EXPECT_EQ(
        runJs(m_pane->ConWeb()->page(), "window.external.FCB('forcetitle', '新标题')").toString(),
        "1");
    EXPECT_EQ(m_pane->title(), QStringLiteral("新标题"));

    // "刷新": loading picture again, same address.
    m_pane->ConRefrBt()->click();
    EXPECT_TRUE(m_pane->Timer5()->isActive());
    EXPECT_TRUE(m_pane->ConLDPae()->isVisible());
    ASSERT_TRUE(waitUntil([this] { return !m_pane->Timer5()->isActive(); }));
    EXPECT_EQ(m_pane->ConWeb()->url().toString(), m_server.root() + "/tools/appadmin/S1");

    // "返回": hidden, emptied; the address stays for a later refresh.
    m_pane->ConBackBt()->click();
    EXPECT_FALSE(m_pane->paneVisible());
    ASSERT_TRUE(waitUntil([this] { return m_pane->ConWeb()->url().toString() == "about:blank"; }));
    EXPECT_EQ(m_pane->contentUrl(), m_server.root() + "/tools/appadmin/S1");
}

TEST_F(SectionsTest, ViewinfoFromAPageOpensTheContentPane) {
    startAndWait();
    EXPECT_EQ(
        runJs(view("sign")->page(),
              R"(window.external.FCB('viewinfo', '{"title":"我的关注","viurl":"appadmin/S1"}'))")
            .toString(),
        "1");
    EXPECT_TRUE(m_pane->paneVisible());
    EXPECT_EQ(m_pane->title(), QStringLiteral("我的关注"));
    EXPECT_EQ(m_pane->contentUrl(), m_server.root() + "/tools/appadmin/S1");
    // Without viurl: nothing.
    m_pane->hidePane();
    runJs(view("sign")->page(), R"(window.external.FCB('viewinfo', '{"title":"x"}'))");
    EXPECT_FALSE(m_pane->paneVisible());
}

TEST_F(SectionsTest, NormalwindowWithoutTitleShowsPleaseWait) {
    startAndWait();
    const QString url = m_server.root() + "/plain";
    EXPECT_EQ(
        runJs(view("sign")->page(),
              QStringLiteral("window.external.FCB('normalwindow', '{\"url\":\"%1\"}')").arg(url))
            .toString(),
        "1");
    EXPECT_TRUE(m_webForm->isVisible());
    EXPECT_EQ(m_webForm->windowTitle(), QStringLiteral("请稍候..."));
    EXPECT_EQ(m_webForm->size(), QSize(994, 772));
    ASSERT_TRUE(waitUntil([&] { return m_webForm->navWeb()->url().toString() == url; }));
    // Its pages have no script host.
    ASSERT_TRUE(waitUntil([&] {
        return runJs(m_webForm->navWeb()->page(), "document.readyState").toString() == "complete";
    }));
    EXPECT_EQ(runJs(m_webForm->navWeb()->page(), "typeof window.external.FCB").toString(),
              "undefined");

    runJs(
        view("sign")->page(),
        QStringLiteral("window.external.FCB('normalwindow', '{\"url\":\"%1\",\"title\":\"讲座\"}')")
            .arg(url));
    EXPECT_EQ(m_webForm->windowTitle(), QStringLiteral("讲座"));

    // Closing hides the window and empties it.
    m_webForm->close();
    EXPECT_FALSE(m_webForm->isVisible());
    ASSERT_TRUE(waitUntil([&] { return m_webForm->navWeb()->url().toString() == "about:blank"; }));
}

TEST_F(SectionsTest, ShowyyopenShowsTheLectureModallyAndGoesToTheRoom) {
    startAndWait();
    program().settings.setValue(u"LectureName", QStringLiteral("王老师"));
    bool sawLabel = false;
    // While the pop-up is up: check it, then press "去听听".
    whenLectureShows([&] {
        sawLabel = m_lectureForm->Label1()->text().contains(QStringLiteral("火热进行中"));
        m_lectureForm->RzBitBtn1()->click();
    });
    EXPECT_EQ(runJs(view("sign")->page(), "window.external.FCB('showyyopen', '')").toString(), "1");
    EXPECT_TRUE(sawLabel);
    EXPECT_FALSE(m_lectureForm->isVisible());
    EXPECT_TRUE(m_webForm->isVisible());
    EXPECT_EQ(m_webForm->windowTitle(), QStringLiteral("王老师 在线投资讲座"));
    EXPECT_EQ(m_lectureForm->size(), QSize(222, 293));
}

TEST_F(SectionsTest, ShowyyopenWithoutALectureShowsNothing) {
    startAndWait();
    program().settings.setValue(u"LectureRoom", QStringLiteral("none"));
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = m_lectureForm->isVisible(); });
    EXPECT_EQ(runJs(view("sign")->page(), "window.external.FCB('showyyopen', '')").toString(), "1");
    EXPECT_FALSE(shown);
    EXPECT_FALSE(m_lectureForm->isVisible());
}

TEST_F(SectionsTest, DismissingTheLectureOpensNothing) {
    startAndWait();
    program().settings.setValue(u"LectureRoom", m_server.root() + "/plain");
    whenLectureShows([&] { m_lectureForm->RzBitBtn2()->click(); });
    EXPECT_EQ(runJs(view("sign")->page(), "window.external.FCB('showyyopen', '')").toString(), "1");
    EXPECT_FALSE(m_lectureForm->isVisible());
    EXPECT_FALSE(m_webForm->isVisible());
}

TEST_F(SectionsTest, TheLoadingPictureCyclesThroughEightFrames) {
    QList<QPixmap> frames;
    for (int i = 0; i < 8; ++i) {
        QPixmap pm(4, 4);
        pm.fill(QColor(i * 30, 0, 0));
        frames.append(pm);
    }
    m_pane->setLoadingFrames(frames);
    auto* image2 = m_pane->findChild<QLabel*>("Image2");
    ASSERT_NE(image2, nullptr);
    QList<int> seen;
    for (int tick = 0; tick < 10; ++tick) {
        QMetaObject::invokeMethod(m_pane->Timer5(), "timeout", Qt::DirectConnection);
        seen.append(qRed(image2->pixmap().toImage().pixel(0, 0)) / 30);
    }
    EXPECT_EQ(seen, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1}));
    EXPECT_EQ(m_pane->Timer5()->interval(), 100);
}

TEST_F(SectionsTest, ForceReloadFromAPagesLoadHandlerAnswers) {
    // The page asks for its own reload while it is still loading: the call must answer.
    m_server.setPage(sectionPath("arts"),
                     R"(<html><body><!-- QZEARVersion 2.1 --><script>
                        window.addEventListener('load', function() {
                          document.title = 'got ' + window.external.FCB('forceReload', 'arts');
                        });
                        function reloadCheck(x){ window.external.FCB('rc', 'arts|' + x); }
                        </script></body></html>)");
    startAndWait();
    ASSERT_TRUE(waitUntil([this] { return view("arts")->title() == "got 1"; }));
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.contains("arts|0"); }));
}

TEST_F(SectionsTest, ForceReloadFromAPageWaitsForALoadingViewWithoutFreezingIt) {
    m_server.setPage(sectionPath("plan"), sectionPage("plan", false));
    startAndWait();
    m_server.setPage(sectionPath("plan"), sectionPage("plan", true));
    m_checked.remove("plan");
    m_server.holdPage(sectionPath("plan"));
    view("plan")->navigate(QUrl(m_server.root() + QString::fromStdString(sectionPath("plan"))));
    // The plan view is busy: the command answers at once, and the reload waits for the view.
    EXPECT_EQ(runJs(view("sign")->page(), "window.external.FCB('forceReload', 'plan')").toString(),
              "1");
    EXPECT_FALSE(m_checked.contains("plan"));
    EXPECT_EQ(m_pages->pendingReloads(), 1);
    m_server.releasePage(sectionPath("plan"));
    ASSERT_TRUE(waitUntil([this] { return m_reloadChecks.size() >= 1; }));
    EXPECT_TRUE(m_checked.contains("plan"));
    EXPECT_EQ(m_reloadChecks, QStringList{"plan|0"});
    EXPECT_EQ(m_loads["plan"], 1);
}
